// Tests of the computer player: scores, candidates, the choice and the moves it carries out.
#include "game/computer.h"

#include <gtest/gtest.h>

#include <array>
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
using game::candidates;
using game::players;
using testing_support::messages;

constexpr std::int64_t me = 2;
constexpr std::int64_t noJitter = 9;  // randomRange(0, 18) - 9 == 0

// Every positive score on the board: one jitter draw was due for each.
std::int64_t positiveScores() {
  std::int64_t count = 0;
  for (std::int64_t column = 1; column <= game::playColumns; ++column) {
    for (std::int64_t row = 1; row <= game::playRows; ++row) {
      for (std::int64_t kind = game::moveNavy; kind <= game::moveCity; ++kind) {
        if (game::moveScore(board[column][row], kind) > 0) ++count;
      }
    }
  }
  return count;
}

std::array<std::int64_t, 4> scoresOf(std::int64_t column, std::int64_t row) {
  const game::Cell& cell = board[column][row];
  return {cell.navyScore, cell.armyScore, cell.fortScore, cell.cityScore};
}

std::vector<Spot> citiesOfMeOutsideColumns4To6(std::int64_t count) {
  std::vector<Spot> spots;
  for (std::int64_t i = 0; i < count; ++i) {
    spots.push_back({.column = 1 + i / 5, .row = 1 + i % 5, .owner = me, .city = 1});
  }
  return spots;
}

bool ownsNothing(std::int64_t player) {
  for (const auto& column : board) {
    for (const auto& cell : column) {
      if (cell.owner == player) return false;
    }
  }
  return true;
}

// The last text drawn in the player box of a turn slot.
const headless::TextRecord* lastBoxText(std::int64_t slot) {
  const headless::TextRecord* found = nullptr;
  for (const auto& text : headless::texts()) {
    if (text.x == 1108 && text.y == 50 * (slot - 1) + 12) found = &text;
  }
  return found;
}

// Virtual time from the last showing of the text to the next redraw of the footer.
std::int64_t heldUs(const std::string& text) {
  const std::int64_t shown = testing_support::messageTimeUs(text);
  for (const auto& record : headless::texts()) {
    if (record.text == "TERRANOX" && record.x == 14 && record.timeUs >= shown) {
      return record.timeUs - shown;
    }
  }
  return -1;
}

class ComputerTest : public testing_support::GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    game::gameState.pcDelay = 1250;
    game::gameState.currentSlot = me;
    for (std::int64_t player = 1; player <= 4; ++player) {
      game::turnOrder[player] = player;
      players[player].turnSlot = player;
      players[player].colourIndex = 24 + player;
      players[player].gold = 3;
      players[player].roundIncome = 1;
    }
    game::turnOrder[5] = 5;
  }
};

TEST_F(ComputerTest, ScoresEachCellByOwnerNeighboursAndBuildings) {
  struct Case {
    const char* name;
    std::vector<Spot> around;
    Spot probe;
    std::array<std::int64_t, 4> navyArmyFortCity;
  };
  const std::vector<Spot> ownLeft = {{.column = 4, .row = 4, .owner = me}};
  const std::vector<Spot> unownedAllRound = {{.column = 5, .row = 3},
                                             {.column = 6, .row = 4},
                                             {.column = 5, .row = 5},
                                             {.column = 4, .row = 4}};
  const std::vector<Spot> foreignRight = {{.column = 6, .row = 4, .owner = 3}};
  const std::vector<Spot> unownedRight = {{.column = 6, .row = 4}};
  const std::vector<Case> cases = {
      {"unowned next to own land", ownLeft, {.column = 5, .row = 4}, {0, 80, 0, 0}},
      {"unowned gold mine next to own land",
       ownLeft,
       {.column = 5, .row = 4, .goldMine = 1},
       {0, 85, 0, 0}},
      {"unowned coast out of reach", {}, {.column = 5, .row = 4}, {50, 0, 0, 0}},
      {"unowned gold mine on a coast out of reach",
       {},
       {.column = 5, .row = 4, .goldMine = 1},
       {55, 0, 0, 0}},
      {"unowned inland out of reach", unownedAllRound, {.column = 5, .row = 4}, {0, 0, 0, 0}},
      {"foreign next to own land", ownLeft, {.column = 5, .row = 4, .owner = 3}, {0, 45, 0, 0}},
      {"foreign fort next to own land",
       ownLeft,
       {.column = 5, .row = 4, .owner = 3, .fort = 1},
       {0, 35, 0, 0}},
      {"foreign city next to own land",
       ownLeft,
       {.column = 5, .row = 4, .owner = 3, .city = 1},
       {0, 50, 0, 0}},
      {"foreign fort and city next to own land",
       ownLeft,
       {.column = 5, .row = 4, .owner = 1, .fort = 1, .city = 1},
       {0, 40, 0, 0}},
      {"foreign coast out of reach", {}, {.column = 5, .row = 4, .owner = 3}, {30, 0, 0, 0}},
      {"foreign fort on a coast",
       {},
       {.column = 5, .row = 4, .owner = 3, .fort = 1},
       {20, 0, 0, 0}},
      {"foreign city on a coast",
       {},
       {.column = 5, .row = 4, .owner = 4, .city = 1},
       {35, 0, 0, 0}},
      {"foreign fort and city on a coast",
       {},
       {.column = 5, .row = 4, .owner = 3, .fort = 1, .city = 1},
       {25, 0, 0, 0}},
      {"foreign inland out of reach",
       unownedAllRound,
       {.column = 5, .row = 4, .owner = 3},
       {0, 0, 0, 0}},
      {"the margin beyond column 1 is a coast",
       {{.column = 1, .row = 3}, {.column = 2, .row = 4}, {.column = 1, .row = 5}},
       {.column = 1, .row = 4, .owner = 3},
       {30, 0, 0, 0}},
      {"own at a border", foreignRight, {.column = 5, .row = 4, .owner = me}, {0, 0, 55, 25}},
      {"own next to unowned land only counts as inland",
       unownedRight,
       {.column = 5, .row = 4, .owner = me},
       {0, 0, 30, 40}},
      {"own border with a fort",
       foreignRight,
       {.column = 5, .row = 4, .owner = me, .fort = 1},
       {0, 0, 0, 25}},
      {"own inland with a city",
       {},
       {.column = 5, .row = 4, .owner = me, .city = 1},
       {0, 0, 30, 0}},
      {"own with fort and city",
       {},
       {.column = 5, .row = 4, .owner = me, .fort = 1, .city = 1},
       {0, 0, 0, 0}},
      {"own gold mine takes no city",
       {},
       {.column = 5, .row = 4, .owner = me, .goldMine = 1},
       {0, 0, 30, 0}},
      {"nine cities elsewhere still allow one more",
       citiesOfMeOutsideColumns4To6(9),
       {.column = 5, .row = 4, .owner = me},
       {0, 0, 30, 40}},
      {"ten cities elsewhere allow none",
       citiesOfMeOutsideColumns4To6(10),
       {.column = 5, .row = 4, .owner = me},
       {0, 0, 30, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    place(c.around);
    place(c.probe);
    headless::forceDraws(std::vector<std::int64_t>(200, noJitter));
    game::scoreMoves(me);
    EXPECT_EQ(scoresOf(c.probe.column, c.probe.row), c.navyArmyFortCity);
    EXPECT_EQ(headless::drawCount(), positiveScores());
  }
}

TEST_F(ComputerTest, JittersPositiveScoresInVisitOrderAndListsThemAsCandidates) {
  // Column 2 comes before column 3 although its row is lower down.
  place({{.column = 3, .row = 1, .owner = me}, {.column = 2, .row = 5}});
  players[me].gold = 4;
  for (std::int64_t entry = 1; entry <= 120; ++entry) candidates[entry] = {7, 7, 7, 7};
  headless::forceDraws({0, 18, 4});

  game::scoreMoves(me);

  EXPECT_EQ(scoresOf(2, 5), (std::array<std::int64_t, 4>{41, 0, 0, 0}));
  EXPECT_EQ(scoresOf(3, 1), (std::array<std::int64_t, 4>{0, 0, 39, 35}));
  EXPECT_EQ(headless::drawCount(), 3);
  const std::vector<std::array<std::int64_t, 4>> expected = {
      {41001, game::moveNavy, 2, 5}, {39002, game::moveFort, 3, 1}, {35003, game::moveCity, 3, 1}};
  for (std::int64_t entry = 1; entry <= 120; ++entry) {
    SCOPED_TRACE(entry);
    const game::Candidate& c = candidates[entry];
    const std::array<std::int64_t, 4> got = {c.key, c.kind, c.column, c.row};
    const std::array<std::int64_t, 4> want =
        entry <= 3 ? expected[entry - 1] : std::array<std::int64_t, 4>{0, 0, 0, 0};
    EXPECT_EQ(got, want);
  }
}

TEST_F(ComputerTest, DropsWhatThePlayerCannotPayAndChoosesFromTheRest) {
  // Entries in visit order: 1 fort and 2 city on (4,4), 3 army on (5,4), 4 navy on (9,2).
  struct Case {
    std::int64_t gold;
    std::array<std::int64_t, 4> kinds;
    std::int64_t chosen;
  };
  const std::vector<Case> cases = {
      {0, {0, 0, 0, 0}, 0},
      {1, {0, 0, game::moveArmy, 0}, 3},
      {2, {0, game::moveCity, game::moveArmy, 0}, 3},
      {3, {game::moveFort, game::moveCity, game::moveArmy, 0}, 3},
      {4, {game::moveFort, game::moveCity, game::moveArmy, game::moveNavy}, 3},
  };
  const std::array<std::int64_t, 4> scores = {30, 40, 80, 50};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.gold);
    SetUp();
    place({{.column = 4, .row = 4, .owner = me}, {.column = 5, .row = 4}, {.column = 9, .row = 2}});
    players[me].gold = c.gold;
    headless::forceDraws(std::vector<std::int64_t>(4, noJitter));
    game::scoreMoves(me);
    for (std::int64_t entry = 1; entry <= 4; ++entry) {
      const std::int64_t kind = c.kinds[entry - 1];
      EXPECT_EQ(candidates[entry].kind, kind);
      EXPECT_EQ(candidates[entry].key, kind == 0 ? 0 : scores[entry - 1] * 1000 + entry);
    }
    EXPECT_EQ(game::chooseMove(), c.chosen);
  }
}

TEST_F(ComputerTest, EqualScoresGoToTheLaterEntry) {
  struct Case {
    const char* name;
    std::vector<Spot> spots;
    std::int64_t gold;
    std::vector<std::int64_t> draws;
    std::array<std::int64_t, 3> kindColumnRow;
  };
  const Spot own = {.column = 5, .row = 4, .owner = me};
  const std::vector<Case> cases = {
      {"higher column beats higher row",
       {own, {.column = 5, .row = 5}, {.column = 6, .row = 4}},
       1,
       std::vector<std::int64_t>(4, noJitter),
       {game::moveArmy, 6, 4}},
      {"higher row in the same column",
       {own, {.column = 5, .row = 3}, {.column = 5, .row = 5}},
       1,
       std::vector<std::int64_t>(4, noJitter),
       {game::moveArmy, 5, 5}},
      {"city before fort on the same cell", {own}, 3, {18, 8}, {game::moveCity, 5, 4}},
      {"a higher score beats the later kind", {own}, 3, {18, 7}, {game::moveFort, 5, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    place(c.spots);
    players[me].gold = c.gold;
    headless::forceDraws(c.draws);
    game::scoreMoves(me);
    const game::CandidateList before = candidates;
    const std::int64_t entry = game::chooseMove();
    ASSERT_GT(entry, 0);
    const game::Candidate& chosen = candidates[entry];
    EXPECT_EQ((std::array<std::int64_t, 3>{chosen.kind, chosen.column, chosen.row}),
              c.kindColumnRow);
    for (std::size_t i = 0; i < before.size(); ++i) {
      EXPECT_EQ(candidates[i].key, before[i].key) << "the choice sorts a copy, entry " << i;
    }
  }
}

// 77 own cells give 154 candidates, more than the list holds; a sanitizer
// build reports any write past its end.
TEST_F(ComputerTest, AFullyOwnedBoardFillsTheListWithoutOverrunningIt) {
  for (std::int64_t column = 1; column <= game::playColumns; ++column) {
    for (std::int64_t row = 1; row <= game::playRows; ++row) {
      place({.column = column, .row = row, .owner = me});
    }
  }
  players[me].gold = 40;
  headless::forceDraws(std::vector<std::int64_t>(154, noJitter));

  game::scoreMoves(me);

  EXPECT_EQ(headless::drawCount(), 154);
  for (std::int64_t entry = 1; entry <= 120; ++entry) {
    EXPECT_EQ(candidates[entry].key % 1000, entry);
  }
  // Inland everywhere: the cities (40) outscore the forts (30); the last one listed wins.
  const std::int64_t entry = game::chooseMove();
  EXPECT_EQ(candidates[entry].kind, game::moveCity);
  EXPECT_EQ(entry, 120);
}

TEST_F(ComputerTest, CarriesOutTheChosenMove) {
  struct Case {
    const char* name;
    std::vector<Spot> spots;
    std::int64_t gold;
    std::vector<std::int64_t> draws;  // jitter, then the two combat rolls
    std::vector<std::string> shown;
    std::vector<std::int64_t> holds;
    std::int64_t goldAfter;
    bool turnEnds;
    std::array<std::int64_t, 2> drawn;  // the cell the move changes; column 0 for none
    std::function<void()> prepare;
    std::function<void()> check;
  };
  const std::vector<std::int64_t> blinkThenHold = {100, 100, 100, 100, 100, 100, 1250};
  const auto noPrep = [] {};
  // Keeps PC-1 in the game, so that taking unowned land decides nothing.
  const Spot farAway = {.column = 11, .row = 7, .owner = 1};
  const std::vector<Case> cases = {
      {"army conquers unowned land",
       {{.column = 4, .row = 3, .owner = me}, {.column = 5, .row = 3}, farAway},
       1,
       {9, 9, 9, 9, 1, 30},
       {"PC-2 Army-ANGRIFF auf 5,3", "PC-2 Army-ANGRIFF auf 5,3 - erfolgreich !!!"},
       blinkThenHold,
       0,
       true,
       {5, 3},
       noPrep,
       [] {
         EXPECT_EQ(board[5][3].owner, me);
         EXPECT_EQ(board[5][3].roundsOwned, 0);
         EXPECT_EQ(game::gameState.result, 0);
       }},
      {"army fails against a strong cell",
       {{.column = 4, .row = 3, .owner = me}, {.column = 5, .row = 3, .owner = 3}},
       2,
       {9, 9, 9, 1, 30},
       {"PC-2 Army-ANGRIFF auf 5,3", "PC-2 Army-ANGRIFF auf 5,3 - fehlgeschlagen !!!"},
       blinkThenHold,
       1,
       false,
       {5, 3},
       [] { board[5][3].defence = 120; },
       [] {
         EXPECT_EQ(board[5][3].owner, 3);
         EXPECT_EQ(board[5][3].defence, 100);
       }},
      {"navy lands on a distant coast",
       {{.column = 2, .row = 2, .owner = me}, {.column = 8, .row = 5}, farAway},
       4,
       {9, 9, 9, 9, 1, 30},
       {"PC-2 Navy-ANGRIFF auf 8,5", "PC-2 Navy-ANGRIFF auf 8,5 - erfolgreich !!!"},
       blinkThenHold,
       0,
       true,
       {8, 5},
       noPrep,
       [] { EXPECT_EQ(board[8][5].owner, me); }},
      {"fort at a border",
       {{.column = 4, .row = 3, .owner = me}, {.column = 5, .row = 3, .owner = 3}},
       3,
       {9, 9, 9},
       {"PC-2 Fort gebaut auf 4,3"},
       {1250},
       0,
       true,
       {4, 3},
       noPrep,
       [] {
         EXPECT_EQ(board[4][3].fort, 1);
         EXPECT_EQ(board[4][3].income, 1);
       }},
      {"city inland",
       {{.column = 4, .row = 3, .owner = me}},
       5,
       {9, 9},
       {"PC-2 City gebaut auf 4,3"},
       {1250},
       3,
       false,
       {4, 3},
       noPrep,
       [] {
         EXPECT_EQ(board[4][3].city, 1);
         EXPECT_EQ(board[4][3].income, 2);
       }},
      {"no gold means a pass",
       {{.column = 4, .row = 3, .owner = me}, {.column = 5, .row = 3}},
       0,
       {9, 9, 9},
       {"PC-2 Aussetzen !!"},
       {1250},
       0,
       true,
       {0, 0},
       noPrep,
       [] { EXPECT_EQ(board[5][3].owner, 0); }},
      {"nothing to do ends the turn with gold left",
       {{.column = 4, .row = 3, .owner = me, .fort = 1, .city = 1}},
       10,
       {},
       {"PC-2 Aussetzen !!"},
       {1250},
       10,
       true,
       {0, 0},
       noPrep,
       [] {}},
      {"a conquest that leaves one player with land decides the game",
       {{.column = 4, .row = 3, .owner = me}, {.column = 5, .row = 3, .owner = 3}},
       1,
       {9, 9, 9, 30, 1},
       {"PC-2 Army-ANGRIFF auf 5,3", "PC-2 Army-ANGRIFF auf 5,3 - erfolgreich !!!",
        "PC-3 hat's erwischt"},
       {100, 100, 100, 100, 100, 100, 1250, 1250},
       0,
       true,
       {5, 3},
       noPrep,
       [] {
         EXPECT_EQ(game::gameState.result, 5);
         EXPECT_EQ(players[3].turnSlot, 13);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    place(c.spots);
    // Players without land are out already, so a conquest announces no one else.
    for (std::int64_t player = 1; player <= 4; ++player) {
      if (player != me && ownsNothing(player)) players[player].turnSlot += 10;
    }
    c.prepare();
    players[me].gold = c.gold;
    headless::forceDraws(c.draws);

    game::computerMove(me);

    EXPECT_EQ(headless::drawCount(), static_cast<std::int64_t>(c.draws.size()));
    EXPECT_EQ(messages(), c.shown);
    EXPECT_EQ(headless::sleeps(), c.holds);
    EXPECT_GE(heldUs(c.shown.back()), 1250000);
    EXPECT_EQ(headless::pixel(300, 700), testing_support::rgb(view::colourFooter));
    EXPECT_EQ(players[me].gold, c.goldAfter);
    EXPECT_EQ(game::gameState.currentSlot, c.turnEnds ? me + 1 : me);
    const headless::TextRecord* box = lastBoxText(me);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, "PC-2 (" + std::to_string(c.goldAfter) + "/1)");
    EXPECT_EQ(box->colour, game::palette[c.turnEnds ? view::colourGrey : view::colourYellow]);
    if (c.drawn[0] > 0) {
      // The Screen already shows the cell as the tables hold it.
      const std::vector<std::uint32_t> shownMarks = cell_setup::markArea(c.drawn[0], c.drawn[1]);
      view::drawCell(c.drawn[0], c.drawn[1]);
      EXPECT_TRUE(cell_setup::markArea(c.drawn[0], c.drawn[1]) == shownMarks);
    }
    c.check();
  }
}

TEST_F(ComputerTest, AnEliminatedPlayersSlotOnlyShowsItsBoxBriefly) {
  players[me].turnSlot = me + 10;
  place({.column = 4, .row = 3, .owner = 1});

  game::computerMove(me);

  EXPECT_EQ(headless::sleeps(), std::vector<std::int64_t>{250});
  EXPECT_EQ(headless::drawCount(), 0);
  EXPECT_TRUE(messages().empty());
  EXPECT_EQ(game::gameState.currentSlot, me + 1);
  const headless::TextRecord* box = lastBoxText(me);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->colour, game::palette[24 + me]);
}

}  // namespace
