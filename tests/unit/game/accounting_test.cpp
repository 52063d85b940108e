// Tests of the round accounting: income, events, defences, caps, elimination and the next round.
#include "game/accounting.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cell_setup.h"
#include "game/tables.h"
#include "support/fixture.h"
#include "view/board.h"
#include "view/palette.h"

namespace {

using cell_setup::place;
using cell_setup::Spot;
using game::board;
using game::players;
using testing_support::messages;

const std::string opening = "Hier ist die Zug-Abrechnung: Anfang";
const std::string closing = "Zug-Abrechnung: Ende";
constexpr std::int64_t quietRoll = 50;  // no event

// Cells of one owner down columns 9..11, with the draws each needs for a quiet round.
std::vector<Spot> held(std::int64_t owner, std::int64_t mines, std::int64_t plain) {
  std::vector<Spot> spots;
  for (std::int64_t i = 0; i < mines + plain; ++i) {
    spots.push_back(
        {.column = 9 + i / 7, .row = 1 + i % 7, .owner = owner, .goldMine = i < mines ? 1 : 0});
  }
  return spots;
}

std::vector<std::int64_t> quietDraws(std::size_t cells) {
  std::vector<std::int64_t> draws;
  for (std::size_t i = 0; i < cells; ++i) draws.insert(draws.end(), {quietRoll, 10});
  return draws;
}

std::int64_t footerRedraws() {
  std::int64_t count = 0;
  for (const auto& text : headless::texts()) {
    if (text.text == "TERRANOX" && text.x == 14) ++count;
  }
  return count;
}

std::string boxText(std::int64_t player) {
  const char* prefixes[] = {"", "PC-1 (", "PC-2 (", "PC-3 (", "YOU  ("};
  return prefixes[player] + std::to_string(players[player].gold) + "/" +
         std::to_string(players[player].roundIncome) + ")";
}

class AccountingTest : public testing_support::GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    game::gameState.pcDelay = 1250;
    game::gameState.currentSlot = 5;
    game::gameState.turnNumber = 4;
    // Slots 1..4 hold players 3, 1, 4, 2.
    game::turnOrder = {0, 3, 1, 4, 2, 5};
    for (std::int64_t slot = 1; slot <= 4; ++slot) {
      const std::int64_t player = game::turnOrder[slot];
      players[player].turnSlot = slot;
      players[player].colourIndex = 24 + player;
      players[player].gold = 3;
      players[player].roundIncome = 1;
    }
  }
};

TEST_F(AccountingTest, SettlesTheRound) {
  struct Case {
    const char* name;
    std::vector<Spot> cells;
    std::vector<std::int64_t> draws;  // per owned cell: event roll, kind if below 8, defence
    std::vector<std::string> events;  // shown on the event cell (3,5)
    std::int64_t kindsDrawn;
    std::function<void()> prepare;
    std::function<void()> check;
  };
  const auto noPrep = [] {};
  const Spot other = {.column = 7, .row = 2, .owner = 2};
  const std::vector<Case> cases = {
      {"a home cell pays at the first accounting and a roll of 8 is quiet",
       {{.column = 3, .row = 5, .owner = 2}},
       {8, 10},
       {},
       0,
       noPrep,
       [] {
         EXPECT_EQ(players[2].gold, 4);
         EXPECT_EQ(players[2].roundIncome, 1);
         EXPECT_EQ(board[3][5].roundsOwned, 2);
         EXPECT_EQ(board[3][5].defence, 100);
       }},
      {"a conquered cell pays nothing yet but counts",
       {{.column = 3, .row = 5, .owner = 2, .roundsOwned = 0, .city = 1}},
       {quietRoll, 10},
       {},
       0,
       noPrep,
       [] {
         EXPECT_EQ(players[2].gold, 3);
         EXPECT_EQ(players[2].roundIncome, 2);
         EXPECT_EQ(board[3][5].roundsOwned, 1);
       }},
      {"rebellion pays the old owner once and takes fort and city",
       {{.column = 3, .row = 5, .owner = 2, .roundsOwned = 3, .fort = 1, .city = 1, .defence = 23},
        other},
       {7, 1, quietRoll, 0},
       {"Provinz 3 , 5 rebelliert !!!"},
       1,
       noPrep,
       [] {
         const game::Cell& cell = board[3][5];
         EXPECT_EQ(cell.owner, 0);
         EXPECT_EQ(cell.roundsOwned, 0);
         EXPECT_EQ(cell.income, 1);
         EXPECT_EQ(cell.fort, 0);
         EXPECT_EQ(cell.city, 0);
         EXPECT_EQ(cell.defence, 60);
         EXPECT_EQ(players[2].gold, 3 + 2 + 1);
         EXPECT_EQ(players[2].roundIncome, 1);
         EXPECT_EQ(players[2].turnSlot, 4);
       }},
      {"a rebelling gold mine keeps its income and defence",
       {{.column = 3, .row = 5, .owner = 2, .goldMine = 1}, other},
       {1, 1, quietRoll, 0},
       {"Provinz 3 , 5 rebelliert !!!"},
       1,
       noPrep,
       [] {
         EXPECT_EQ(board[3][5].owner, 0);
         EXPECT_EQ(board[3][5].income, 4);
         EXPECT_EQ(board[3][5].goldMine, 1);
         EXPECT_EQ(board[3][5].defence, 100);
       }},
      {"the last cell rebelling eliminates without a word",
       {{.column = 3, .row = 5, .owner = 2}},
       {7, 1},
       {"Provinz 3 , 5 rebelliert !!!"},
       1,
       [] { players[1].turnSlot = 12; },
       [] {
         EXPECT_EQ(players[2].turnSlot, 14);
         EXPECT_EQ(players[2].roundIncome, 0);
         EXPECT_EQ(players[2].gold, 4);
         EXPECT_EQ(players[1].turnSlot, 12);
         EXPECT_EQ(game::gameState.result, 0);
       }},
      {"plague destroys a city",
       {{.column = 3, .row = 5, .owner = 2, .city = 1}},
       {7, 2, 5},
       {"Stadt 3 , 5 wurde durch eine Seuche zerstört !!!"},
       1,
       noPrep,
       [] {
         EXPECT_EQ(board[3][5].city, 0);
         EXPECT_EQ(board[3][5].income, 1);
         EXPECT_EQ(board[3][5].owner, 2);
         EXPECT_EQ(board[3][5].defence, 95);
         EXPECT_EQ(players[2].gold, 5);
         EXPECT_EQ(players[2].roundIncome, 1);
       }},
      {"plague without a city passes unseen",
       {{.column = 3, .row = 5, .owner = 2, .fort = 1}},
       {7, 2, 5},
       {},
       1,
       noPrep,
       [] {
         EXPECT_EQ(board[3][5].income, 1);
         EXPECT_EQ(board[3][5].fort, 1);
         EXPECT_EQ(board[3][5].defence, 115);
       }},
      {"a fort collapses and leaves the city",
       {{.column = 3, .row = 5, .owner = 2, .fort = 1, .city = 1}},
       {7, 3, 20},
       {"Das Fort auf 3 , 5 ist zusammengebrochen !!!"},
       1,
       noPrep,
       [] {
         EXPECT_EQ(board[3][5].fort, 0);
         EXPECT_EQ(board[3][5].city, 1);
         EXPECT_EQ(board[3][5].income, 2);
         EXPECT_EQ(board[3][5].defence, 110);
       }},
      {"a fort collapse without a fort passes unseen",
       {{.column = 3, .row = 5, .owner = 2, .city = 1}},
       {7, 3, 20},
       {},
       1,
       noPrep,
       [] {
         EXPECT_EQ(board[3][5].city, 1);
         EXPECT_EQ(board[3][5].defence, 110);
       }},
      {"a gold mine replaces a city",
       {{.column = 3, .row = 5, .owner = 2, .city = 1}},
       {7, 4, 0},
       {"In 3 , 5 wurde eine Goldmine entdeckt !!!"},
       1,
       noPrep,
       [] {
         EXPECT_EQ(board[3][5].goldMine, 1);
         EXPECT_EQ(board[3][5].income, 4);
         EXPECT_EQ(board[3][5].city, 0);
         EXPECT_EQ(board[3][5].defence, 90);
         EXPECT_EQ(players[2].gold, 5);
         EXPECT_EQ(players[2].roundIncome, 4);
       }},
      {"no gold mine is found without a city",
       {{.column = 3, .row = 5, .owner = 2}},
       {7, 4, 0},
       {},
       1,
       noPrep,
       [] {
         EXPECT_EQ(board[3][5].goldMine, 0);
         EXPECT_EQ(board[3][5].income, 1);
       }},
      {"35 earned adds 30, capped before the treasury is raised",
       held(2, 8, 3),
       quietDraws(11),
       {},
       0,
       [] { players[2].gold = 5; },
       [] {
         EXPECT_EQ(players[2].gold, 35);
         EXPECT_EQ(players[2].roundIncome, 30);
       }},
      {"the treasury stops at 40",
       held(2, 5, 0),
       quietDraws(5),
       {},
       0,
       [] { players[2].gold = 25; },
       [] {
         EXPECT_EQ(players[2].gold, 40);
         EXPECT_EQ(players[2].roundIncome, 20);
       }},
      {"defences are renewed on every cell",
       {{.column = 3, .row = 5, .owner = 2},
        {.column = 4, .row = 5, .owner = 2, .fort = 1},
        {.column = 5, .row = 5, .owner = 2},
        {.column = 6, .row = 5, .owner = 2, .fort = 1},
        {.column = 7, .row = 5, .defence = 23},
        {.column = 8, .row = 5, .goldMine = 1, .defence = 23}},
       {quietRoll, 0, quietRoll, 20, quietRoll, 20, quietRoll, 0},
       {},
       0,
       [] { board[9][5].defence = 40; },
       [] {
         EXPECT_EQ(board[3][5].defence, 90);
         EXPECT_EQ(board[4][5].defence, 130);
         EXPECT_EQ(board[5][5].defence, 110);
         EXPECT_EQ(board[6][5].defence, 110);
         EXPECT_EQ(board[7][5].defence, 60);
         EXPECT_EQ(board[8][5].defence, 100);
         EXPECT_EQ(board[9][5].defence, 60) << "water";
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    for (const Spot& spot : c.cells) place(spot);
    c.prepare();
    headless::forceDraws(c.draws);

    game::runAccounting();

    EXPECT_EQ(headless::drawCount(), static_cast<std::int64_t>(c.draws.size()));
    std::vector<std::string> shown = {opening};
    shown.insert(shown.end(), c.events.begin(), c.events.end());
    shown.push_back(closing);
    EXPECT_EQ(messages(), shown);
    std::vector<std::int64_t> holds;
    for (std::size_t i = 0; i < c.events.size(); ++i) {
      holds.insert(holds.end(), {100, 100, 100, 100, 100, 100, 1250});
    }
    holds.push_back(1250);
    EXPECT_EQ(headless::sleeps(), holds);
    EXPECT_EQ(footerRedraws(), c.kindsDrawn + 1);
    EXPECT_EQ(headless::pixel(300, 700), testing_support::rgb(view::colourFooter));

    // The boxes, in slot order, then the new turn number.
    const auto& texts = headless::texts();
    ASSERT_GE(texts.size(), 5u);
    EXPECT_EQ(texts.back().text, "Zug Nr. 5");
    std::vector<const headless::TextRecord*> boxes;
    for (const auto& text : texts) {
      if (text.x == 1108) boxes.push_back(&text);
    }
    ASSERT_EQ(boxes.size(), 4u);
    for (std::int64_t slot = 1; slot <= 4; ++slot) {
      const std::int64_t player = game::turnOrder[slot];
      const headless::TextRecord& box = *boxes[slot - 1];
      EXPECT_EQ(box.y, 50 * (slot - 1) + 12);
      EXPECT_EQ(box.text, boxText(player));
      const bool out = players[player].turnSlot > 10;
      EXPECT_EQ(box.colour, game::palette[out ? players[player].colourIndex : view::colourGrey]);
    }
    EXPECT_EQ(game::gameState.currentSlot, 1);
    EXPECT_EQ(game::gameState.turnNumber, 5);

    if (!c.events.empty()) {
      // The cell's marks on the Screen show its new state: drawing it again changes nothing.
      const std::vector<std::uint32_t> after = cell_setup::markArea(3, 5);
      view::drawCell(3, 5);
      EXPECT_TRUE(cell_setup::markArea(3, 5) == after) << "the event cell was not redrawn";
    }
    c.check();
  }
}

TEST_F(AccountingTest, ADecidedGameIsLeftAlone) {
  place({.column = 3, .row = 5, .owner = 2});
  game::gameState.result = 5;
  const game::PlayerTable before = players;

  game::runAccounting();

  EXPECT_EQ(headless::drawCount(), 0);
  EXPECT_TRUE(headless::texts().empty());
  EXPECT_EQ(game::gameState.currentSlot, 5);
  EXPECT_EQ(game::gameState.turnNumber, 4);
  EXPECT_EQ(players[2].gold, before[2].gold);
  EXPECT_EQ(board[3][5].roundsOwned, 1);
}

}  // namespace
