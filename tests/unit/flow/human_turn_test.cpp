// The human turn in virtual time: selection keys, board actions, the repeated attack, Done, Esc.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "flow/human_turn.h"
#include "flow/input.h"
#include "game/tables.h"
#include "support/fixture.h"
#include "view/palette.h"

namespace {

using testing_support::lastMessage;
using testing_support::messages;

// Screen position of the middle of cell (column, row).
std::int64_t cellX(std::int64_t column) { return 95 * column - 21; }
std::int64_t cellY(std::int64_t row) { return 95 * row - 36; }

constexpr std::int64_t doneX = 1150;
constexpr std::int64_t doneY = 660;

class HumanTurnTest : public testing_support::GameTest {
 protected:
  // Row 2: YOU at columns 2 and 3, PC-1 at 4 (fortified) and 5; PC-2 and PC-3
  // each hold one cell elsewhere. Turn order 1, 2, 3, 4; the human's slot is current.
  void SetUp() override {
    GameTest::SetUp();
    land(2, 2, 4);
    land(3, 2, 4);
    land(4, 2, 1);
    game::board[4][2].fort = 1;
    game::board[4][2].defence = 110;
    land(5, 2, 1);
    land(8, 5, 2);
    land(10, 6, 3);
    for (std::int64_t p = 1; p <= 4; ++p) {
      game::players[p] = {p, 24 + p, 3, 1};
      game::turnOrder[p] = p;
    }
    game::turnOrder[5] = 5;
    game::gameState.currentSlot = 4;
    game::gameState.pcDelay = 1250;
    flow::clientWidth = 1280;
    flow::clientHeight = 720;
  }

  static void land(std::int64_t column, std::int64_t row, std::int64_t owner) {
    game::Cell& cell = game::board[column][row];
    cell.terrain = 11 + column % 12;
    cell.owner = owner;
    cell.income = 1;
    cell.defence = owner == 0 ? 60 : 100;
    cell.roundsOwned = owner == 0 ? 0 : 1;
  }

  // Runs the turn until the script runs dry (the turn is still going on).
  static void runUntilIdle() { EXPECT_THROW(flow::humanTurn(), headless::ScriptEnded); }

  static std::int64_t count(const std::string& message) {
    const auto all = messages();
    return std::count(all.begin(), all.end(), message);
  }
};

TEST_F(HumanTurnTest, SelectionKeysCycleAndWrap) {
  struct Case {
    std::int64_t from, key, to;
  };
  const Case cases[] = {
      {0, 65, 5}, {0, 38, 5}, {0, 83, 2}, {0, 89, 2}, {0, 40, 2}, {2, 65, 5},
      {5, 65, 4}, {3, 38, 2}, {2, 83, 3}, {4, 40, 5}, {5, 89, 2}, {5, 83, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.from) + " key " + std::to_string(c.key));
    headless::reset();
    game::gameState.selectedAction = c.from;
    game::gameState.autoAttack = 0;
    headless::pushKey(c.key);
    runUntilIdle();
    EXPECT_EQ(game::gameState.selectedAction, c.to);
    // The new selection's button is drawn lit: its label in yellow.
    const auto& texts = headless::texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back().x, 1145);
    EXPECT_EQ(texts.back().y, 370 + 50 * (c.to - 2) + 12);
    EXPECT_EQ(texts.back().colour, game::palette[view::colourYellow]);
  }
}

TEST_F(HumanTurnTest, FirstTurnClickBuildsACityWithNoButtonLit) {
  game::gameState.selectedAction = game::actionCity;
  headless::pushClick(cellX(2), cellY(2));
  runUntilIdle();
  EXPECT_EQ(game::board[2][2].city, 1);
  EXPECT_EQ(game::board[2][2].income, 2);
  EXPECT_EQ(game::players[4].gold, 1);
  for (const auto& t : headless::texts()) {
    EXPECT_FALSE(t.x == 1145 && t.colour == game::palette[view::colourYellow]) << t.text;
  }
}

TEST_F(HumanTurnTest, RepeatedAttackPaysEveryRollUntilTheCellFalls) {
  game::gameState.selectedAction = game::actionArmy;
  game::players[4].gold = 5;
  // First roll: 73 against 110 + 1 with the fort, fails and leaves 90; second: 102 against 91.
  headless::forceDraws({1, 1, 30, 1});
  headless::pushClick(cellX(4), cellY(2), true);
  runUntilIdle();
  EXPECT_EQ(headless::forcedDrawsLeft(), 0u);
  EXPECT_EQ(game::board[4][2].owner, 4);
  EXPECT_EQ(game::board[4][2].fort, 0);
  EXPECT_EQ(game::board[4][2].defence, 90);
  EXPECT_EQ(game::players[4].gold, 3);
  EXPECT_EQ(game::gameState.autoAttack, 0);
  EXPECT_EQ(count("Army: ANGRIFF - fehlgeschlagen !!!"), 1);
  EXPECT_EQ(count("Army: ANGRIFF - erfolgreich !!!"), 1);
}

TEST_F(HumanTurnTest, RepeatedAttackEndsWhenTheGoldRunsOut) {
  game::gameState.selectedAction = game::actionArmy;
  game::players[4].gold = 2;
  game::board[4][2].defence = 130;
  headless::forceDraws({30, 1, 30, 1});
  headless::pushClick(cellX(4), cellY(2), true);
  runUntilIdle();
  EXPECT_EQ(game::players[4].gold, 0);
  EXPECT_EQ(game::board[4][2].owner, 1);
  EXPECT_EQ(game::board[4][2].defence, 90);
  EXPECT_EQ(game::gameState.autoAttack, 0);
  EXPECT_EQ(count("Army: ANGRIFF - fehlgeschlagen !!!"), 2);
  EXPECT_EQ(lastMessage(), "Army: KEIN Gold!!");
}

TEST_F(HumanTurnTest, RepeatedAttackFollowsTheCursorAndStopsOnAnInvalidCell) {
  game::gameState.selectedAction = game::actionArmy;
  game::players[4].gold = 5;
  game::board[4][2].defence = 130;
  headless::forceDraws({30, 1, 30, 1});
  headless::pushClick(cellX(4), cellY(2), true);
  headless::pushMove(cellX(7), cellY(7));  // water
  runUntilIdle();
  // The move is taken in the second pass, after that pass sampled the cursor.
  EXPECT_EQ(count("Army: ANGRIFF - fehlgeschlagen !!!"), 2);
  EXPECT_EQ(game::players[4].gold, 3);
  EXPECT_EQ(lastMessage(), "Army: Da ist doch nur Wasser - was soll das?!");
  EXPECT_EQ(game::gameState.autoAttack, 0);
}

TEST_F(HumanTurnTest, DoneIsIgnoredWhileTheRepeatedAttackRuns) {
  game::gameState.selectedAction = game::actionArmy;
  game::players[4].gold = 5;
  game::board[4][2].defence = 130;
  headless::forceDraws({30, 1, 30, 1});
  headless::pushClick(cellX(4), cellY(2), true);
  headless::pushClick(doneX, doneY);
  runUntilIdle();
  // The press on Done became an action over the side panel: water, which ends the attack.
  EXPECT_EQ(game::gameState.currentSlot, 4);
  EXPECT_EQ(game::gameState.autoAttack, 0);
  EXPECT_EQ(lastMessage(), "Army: Da ist doch nur Wasser - was soll das?!");
  EXPECT_EQ(game::gameState.selectedAction, game::actionArmy);
}

TEST_F(HumanTurnTest, DoneFlashesPausesAndEndsTheTurn) {
  game::gameState.selectedAction = game::actionFort;
  headless::pushClick(doneX, doneY);
  flow::humanTurn();
  EXPECT_EQ(game::gameState.currentSlot, 5);
  EXPECT_EQ(game::gameState.selectedAction, 0);
  EXPECT_EQ(flow::keyCode, flow::commandDone);
  const auto& sleeps = headless::sleeps();
  ASSERT_GE(sleeps.size(), 2u);
  EXPECT_EQ(sleeps[sleeps.size() - 2], 120);
  EXPECT_EQ(sleeps.back(), 500);
  EXPECT_EQ(messages().front(), "Du bist dran");
  // YOU's box (slot 4) is redrawn waiting: grey text.
  const auto& texts = headless::texts();
  const auto box = std::find_if(texts.rbegin(), texts.rend(),
                                [](const auto& t) { return t.x == 1108 && t.y == 162; });
  ASSERT_NE(box, texts.rend());
  EXPECT_EQ(box->colour, game::palette[view::colourGrey]);
}

TEST_F(HumanTurnTest, EscEndsTheTurnAfterItsPass) {
  game::gameState.selectedAction = game::actionArmy;
  headless::pushKey(flow::keyEsc);
  flow::humanTurn();
  EXPECT_EQ(game::gameState.result, game::resultAborted);
  EXPECT_EQ(game::gameState.currentSlot, 4);
  EXPECT_EQ(game::gameState.selectedAction, game::actionArmy);
}

TEST_F(HumanTurnTest, AWinningConquestWaitsForDone) {
  for (std::int64_t p = 2; p <= 3; ++p) game::players[p].turnSlot = p + 10;
  game::board[8][5] = game::Cell{};
  game::board[10][6] = game::Cell{};
  game::board[5][2] = game::Cell{};
  game::board[4][2].fort = 0;
  game::board[4][2].defence = 60;
  game::gameState.selectedAction = game::actionArmy;
  headless::forceDraws({1, 1});
  headless::pushClick(cellX(4), cellY(2));
  runUntilIdle();
  EXPECT_EQ(game::gameState.result, 7);
  EXPECT_EQ(game::gameState.currentSlot, 4);
  EXPECT_EQ(count("PC-1 ist erledigt"), 1);

  headless::pushClick(doneX, doneY);
  flow::humanTurn();
  EXPECT_EQ(game::gameState.result, 7);
  EXPECT_EQ(game::gameState.currentSlot, 5);
}

TEST_F(HumanTurnTest, CursorIsScaledFromTheRecordedClientSize) {
  struct Case {
    std::int64_t width, height, windowX, windowY, x, y;
  };
  const Case cases[] = {
      {1920, 1080, 1650, 540, 1100, 360}, {1920, 1080, 1649, 539, 1099, 359},
      {1280, 720, 77, 33, 77, 33},         {1280, 720, -1, -1, -1, -1},
      {1920, 1080, -1, -1, 0, 0},          {0, 0, 500, 400, 500, 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " at " + std::to_string(c.windowX));
    headless::reset();
    flow::clientWidth = c.width;
    flow::clientHeight = c.height;
    headless::setCursor(c.windowX, c.windowY);
    runUntilIdle();
    EXPECT_EQ(flow::cursorX, c.x);
    EXPECT_EQ(flow::cursorY, c.y);
  }
}

TEST_F(HumanTurnTest, AnEliminatedHumanPassesAtOnce) {
  game::players[4].turnSlot = 14;
  headless::pushKey(65);
  flow::humanTurn();
  EXPECT_EQ(game::gameState.currentSlot, 5);
  EXPECT_EQ(lastMessage(), "Du bist dran");
  EXPECT_EQ(headless::eventsLeft(), 1u);
  // The box stays a plain bar of YOU's colour: its text is drawn in that colour.
  const auto& t = headless::texts().back();
  EXPECT_EQ(t.x, 1108);
  EXPECT_EQ(t.colour, game::palette[28]);
}

}  // namespace
