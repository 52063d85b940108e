// Tests of the combat roll, conquest, eliminations with their messages and holds, and the city
// count.
#include "game/combat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "flow/input.h"
#include "game/tables.h"
#include "support/fixture.h"
#include "view/palette.h"

namespace {

using game::board;
using game::Cell;
using game::gameState;
using game::players;

class CombatTest : public testing_support::GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    for (std::int64_t player = 1; player <= 4; ++player) {
      players[player] = game::PlayerRecord{player, 24 + player, 3, 1};
    }
  }

  static Cell& land(std::int64_t column, std::int64_t row, std::int64_t owner = 0) {
    Cell& c = board[column][row];
    c.terrain = 14;
    c.owner = owner;
    c.income = 1;
    c.defence = 60;
    return c;
  }
};

// Winning roll pairs out of 900: the attack wins when a - b > d - 92 (+20 with a fort),
// and a difference t of the two rolls occurs in 30 - |t| pairs.
struct RollCase {
  std::int64_t defence;
  bool fort;
  std::int64_t wins;
};

const RollCase rollCases[] = {
    {60, false, 900},  {62, false, 900}, {63, false, 899}, {90, false, 494},
    {100, false, 231}, {110, false, 66}, {121, false, 0},  {42, true, 900},
    {43, true, 899},   {100, true, 1},   {101, true, 0},
};

TEST_F(CombatTest, AllRollPairsWinAsOftenAsTheOddsSay) {
  for (const RollCase& rc : rollCases) {
    SCOPED_TRACE("defence " + std::to_string(rc.defence) + (rc.fort ? " with fort" : ""));
    std::int64_t wins = 0;
    for (std::int64_t attackRoll = 1; attackRoll <= 30; ++attackRoll) {
      for (std::int64_t defenceRoll = 1; defenceRoll <= 30; ++defenceRoll) {
        Cell& c = land(5, 4, 2);
        c.defence = rc.defence;
        c.fort = rc.fort ? 1 : 0;
        c.city = 1;
        headless::forceDraws({attackRoll, defenceRoll});
        const std::int64_t won = game::resolveAttack(5, 4);
        ASSERT_EQ(headless::forcedDrawsLeft(), 0u);
        ASSERT_TRUE(won == 0 || won == 1);
        wins += won;
        EXPECT_EQ(c.defence, won == 1 ? rc.defence : rc.defence - 20);
        EXPECT_EQ(c.owner, 2);
        EXPECT_EQ(c.fort, rc.fort ? 1 : 0);
        EXPECT_EQ(c.city, 1);
        if (HasFailure()) return;
      }
    }
    EXPECT_EQ(wins, rc.wins);
  }
}

TEST_F(CombatTest, FirstDrawIsTheAttackAndATieFails) {
  const struct {
    std::int64_t attackRoll, defenceRoll, won, defenceAfter;
  } cases[] = {
      {9, 1, 0, 80},    // 81 against 81: a tie
      {10, 1, 1, 100},  // 82 against 81
      {30, 1, 1, 100},  // 102 against 81
      {1, 30, 0, 80},   // 73 against 110: the draws taken the other way round would win
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(std::to_string(tc.attackRoll) + " / " + std::to_string(tc.defenceRoll));
    land(5, 4, 1).defence = 100;
    headless::forceDraws({tc.attackRoll, tc.defenceRoll});
    EXPECT_EQ(game::resolveAttack(5, 4), tc.won);
    EXPECT_EQ(board[5][4].defence, tc.defenceAfter);
    EXPECT_EQ(board[5][4].owner, 1);
  }
}

TEST_F(CombatTest, RollFlashesTheCellFirst) {
  land(5, 4);
  headless::forceDraws({30, 1});
  game::resolveAttack(5, 4);
  EXPECT_EQ(headless::sleeps(), (std::vector<std::int64_t>(6, 100)));
  EXPECT_EQ(gameState.blinkA, 0);
  EXPECT_EQ(gameState.blinkB, 0);
}

TEST_F(CombatTest, ConquestClearsBuildingsAndKeepsIncomeAndBeatenDefence) {
  Cell& c = land(6, 2, 3);
  c = Cell{19, 3, 4, 2, 0, 1, 1, 77, 5, 6, 7, 8};
  game::conquer(6, 2, 4);
  const Cell& after = board[6][2];
  EXPECT_EQ(after.owner, 4);
  EXPECT_EQ(after.roundsOwned, 0);
  EXPECT_EQ(after.fort, 0);
  EXPECT_EQ(after.city, 0);
  EXPECT_EQ(after.terrain, 19);
  EXPECT_EQ(after.income, 2);
  EXPECT_EQ(after.goldMine, 0);
  EXPECT_EQ(after.defence, 77);
  EXPECT_EQ(after.navyScore, 5);
  EXPECT_EQ(after.armyScore, 6);
  EXPECT_EQ(after.fortScore, 7);
  EXPECT_EQ(after.cityScore, 8);
}

TEST_F(CombatTest, CountCitiesCountsOnlyThePlayersCitiesInThePlayingArea) {
  land(1, 1, 4).city = 1;
  land(11, 7, 4).city = 1;
  land(5, 5, 4);
  land(6, 5, 2).city = 1;
  // Cities in the margin can never arise, and must not count if they did.
  for (const auto& [column, row] : {std::pair{0, 3}, {12, 3}, {4, 0}, {4, 8}}) {
    Cell& c = board[column][row];
    c.owner = 4;
    c.city = 1;
  }
  EXPECT_EQ(game::countCities(4), 2);
  EXPECT_EQ(game::countCities(2), 1);
  EXPECT_EQ(game::countCities(1), 0);
}

// Every pixel of a player's box row is its colour: a bar without visible text.
bool boxIsPlainBar(std::int64_t row, std::int64_t player) {
  const std::uint32_t colour = testing_support::rgb(24 + player);
  const std::int64_t top = 50 * (row - 1) + 3;
  for (std::int64_t y = top; y < top + 47; ++y) {
    for (std::int64_t x = 1100; x < 1277; ++x) {
      if (headless::pixel(x, y) != colour) return false;
    }
  }
  return true;
}

TEST_F(CombatTest, ComputerPlayerWithoutLandIsAnnouncedHeldAndBarred) {
  const struct {
    std::int64_t player;
    std::string message;
  } cases[] = {
      {1, "PC-1 ist erledigt"}, {2, "PC-2 wurde ausgeloescht"}, {3, "PC-3 hat's erwischt"}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.message);
    SetUp();
    // Turn slots differ from the ids, so the bar must be drawn in the slot's row.
    const std::int64_t slots[] = {0, 3, 1, 4, 2};
    for (std::int64_t player = 1; player <= 4; ++player) {
      players[player].turnSlot = slots[player];
      if (player != tc.player) land(player, 1, player);
    }
    game::checkEliminations();
    EXPECT_EQ(testing_support::messages(), std::vector<std::string>{tc.message});
    EXPECT_EQ(headless::sleeps(), std::vector<std::int64_t>{1250});
    EXPECT_EQ(players[tc.player].turnSlot, slots[tc.player] + 10);
    EXPECT_TRUE(boxIsPlainBar(slots[tc.player], tc.player));
    EXPECT_EQ(headless::pixel(250, 714), testing_support::rgb(view::colourFooter));
    EXPECT_EQ(gameState.result, 0);
  }
}

TEST_F(CombatTest, PlayersAlreadyOutAreNotAnnouncedAgainAndNewOnesGoFromFourDown) {
  land(2, 2, 2);
  land(4, 4, 4);
  players[1].turnSlot = 1;
  players[3].turnSlot = 13;  // out since an earlier accounting
  game::checkEliminations();
  EXPECT_EQ(testing_support::messages(), std::vector<std::string>{"PC-1 ist erledigt"});
  EXPECT_EQ(players[3].turnSlot, 13);

  SetUp();
  land(4, 4, 4);
  land(2, 2, 2);
  game::checkEliminations();
  EXPECT_EQ(testing_support::messages(),
            (std::vector<std::string>{"PC-3 hat's erwischt", "PC-1 ist erledigt"}));
}

TEST_F(CombatTest, ThirdPlayerWithoutLandDecidesTheGameForTheOneLeft) {
  const struct {
    std::int64_t winner;
    std::int64_t lastLoser;
    std::int64_t result;
  } cases[] = {{4, 2, 7}, {2, 1, 5}, {1, 3, 4}, {3, 4, 6}};
  for (const auto& tc : cases) {
    SCOPED_TRACE("winner " + std::to_string(tc.winner));
    SetUp();
    for (std::int64_t player = 1; player <= 4; ++player) {
      if (player != tc.winner && player != tc.lastLoser) players[player].turnSlot += 10;
    }
    land(7, 3, tc.winner);
    if (tc.lastLoser == game::human) headless::pushKey(flow::keyJ);
    game::checkEliminations();
    EXPECT_EQ(gameState.result, tc.result);
    EXPECT_EQ(players[tc.lastLoser].turnSlot, tc.lastLoser + 10);
    EXPECT_EQ(testing_support::messages().size(), 1u);
  }
}

TEST_F(CombatTest, HumanWithoutLandWaitsForAFreshKeyAndTheGameGoesOn) {
  land(1, 1, 1);
  land(2, 2, 2);
  land(3, 3, 3);
  headless::pushKey(flow::keyS);
  game::checkEliminations();
  EXPECT_EQ(testing_support::messages(), std::vector<std::string>{"GAME OVER !!!! <Taste>"});
  EXPECT_EQ(flow::keyCode, flow::keyS);
  EXPECT_EQ(players[4].turnSlot, 14);
  EXPECT_TRUE(boxIsPlainBar(4, 4));
  EXPECT_EQ(gameState.result, 0);
  // The key was waiting, so there is no pause at all: no computer player's hold.
  EXPECT_TRUE(headless::sleeps().empty());
}

TEST_F(CombatTest, HumanEliminationIgnoresAKeyCodeLeftFromBefore) {
  land(1, 1, 1);
  land(2, 2, 2);
  land(3, 3, 3);
  flow::keyCode = flow::keyJ;
  EXPECT_THROW(game::checkEliminations(), headless::ScriptEnded);
  EXPECT_EQ(testing_support::lastMessage(), "GAME OVER !!!! <Taste>");
  EXPECT_EQ(players[4].turnSlot, 4);
}

}  // namespace
