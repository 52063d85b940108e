// Tests of the new-game set-up: random boards, homes, gold mines, players, turn order, drawing.
#include "game/new_game.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "game/tables.h"
#include "support/fixture.h"
#include "view/palette.h"

namespace {

using game::board;
using game::Cell;
using game::gameState;
using game::players;
using game::turnOrder;

class NewGameTest : public testing_support::GameTest {};

struct BoardCensus {
  std::int64_t land = 0;
  std::int64_t goldMines = 0;
};

// Checks everything a freshly set-up game must satisfy, whatever the draws were.
BoardCensus expectFreshGame() {
  BoardCensus census;
  std::vector<std::int64_t> homes(5, 0);
  for (std::int64_t column = 0; column < game::boardColumns; ++column) {
    for (std::int64_t row = 0; row < game::boardRows; ++row) {
      const Cell& c = board[column][row];
      SCOPED_TRACE("cell " + std::to_string(column) + "," + std::to_string(row));
      const bool margin = column == 0 || column == 12 || row == 0 || row == 8;
      if (margin || c.terrain == 0) {
        EXPECT_EQ(c.terrain, 0);
        EXPECT_EQ(c.owner, 0);
        EXPECT_EQ(c.roundsOwned, 0);
        EXPECT_EQ(c.income, 0);
        EXPECT_EQ(c.goldMine, 0);
        EXPECT_EQ(c.fort, 0);
        EXPECT_EQ(c.city, 0);
        EXPECT_EQ(c.defence, 0);
        continue;
      }
      ++census.land;
      EXPECT_GE(c.terrain, 11);
      EXPECT_LE(c.terrain, 22);
      EXPECT_EQ(c.fort, 0);
      EXPECT_EQ(c.city, 0);
      if (c.owner != 0) {
        EXPECT_GE(c.owner, 1);
        EXPECT_LE(c.owner, 4);
        if (c.owner >= 1 && c.owner <= 4) ++homes[c.owner];
        EXPECT_EQ(c.roundsOwned, 1);
        EXPECT_EQ(c.defence, 100);
        EXPECT_EQ(c.income, 1);
        EXPECT_EQ(c.goldMine, 0);
      } else if (c.goldMine != 0) {
        ++census.goldMines;
        EXPECT_EQ(c.goldMine, 1);
        EXPECT_NE(c.terrain, 11);
        EXPECT_EQ(c.income, 4);
        EXPECT_EQ(c.defence, 100);
        EXPECT_EQ(c.roundsOwned, 0);
      } else {
        EXPECT_EQ(c.defence, 60);
        EXPECT_EQ(c.income, 1);
        EXPECT_EQ(c.roundsOwned, 0);
      }
    }
  }
  EXPECT_GE(census.land, 22);
  EXPECT_LE(census.land, 48);
  EXPECT_LE(census.goldMines, 5);
  for (std::int64_t player = 1; player <= 4; ++player) {
    EXPECT_EQ(homes[player], 1) << "homes of player " << player;
  }

  EXPECT_EQ(turnOrder[5], 5);
  std::vector<std::int64_t> order(turnOrder.begin() + 1, turnOrder.begin() + 5);
  std::sort(order.begin(), order.end());
  EXPECT_EQ(order, (std::vector<std::int64_t>{1, 2, 3, 4}));
  for (std::int64_t slot = 1; slot <= 4; ++slot) {
    const std::int64_t player = turnOrder[slot];
    if (player < 1 || player > 4) continue;
    EXPECT_EQ(players[player].turnSlot, slot);
  }
  for (std::int64_t player = 1; player <= 4; ++player) {
    EXPECT_EQ(players[player].colourIndex, 24 + player);
    EXPECT_EQ(players[player].gold, 3);
    EXPECT_EQ(players[player].roundIncome, 1);
  }
  EXPECT_EQ(gameState.result, 0);
  EXPECT_EQ(gameState.selectedAction, game::actionCity);
  EXPECT_EQ(gameState.currentSlot, 1);
  EXPECT_EQ(gameState.turnNumber, 0);
  EXPECT_EQ(gameState.autoAttack, 0);
  EXPECT_EQ(gameState.pcDelay, 1250);
  return census;
}

TEST_F(NewGameTest, SeededBoardsKeepEveryStartingRule) {
  std::set<std::vector<std::int64_t>> ordersSeen;
  std::set<std::int64_t> landCounts;
  for (std::uint64_t seed = 1; seed <= 400; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    headless::seed(seed);
    game::newGame();
    const BoardCensus census = expectFreshGame();
    landCounts.insert(census.land);
    ordersSeen.insert({turnOrder[1], turnOrder[2], turnOrder[3], turnOrder[4]});
    if (HasFailure()) return;
  }
  // A shuffle over the wrong slots, or a fixed land count, shows up here.
  EXPECT_EQ(ordersSeen.size(), 24u);
  EXPECT_GT(landCounts.size(), 15u);
}

TEST_F(NewGameTest, SecondGameLeavesNothingOfTheFirst) {
  headless::seed(7);
  game::newGame();
  for (std::int64_t column = 0; column < game::boardColumns; ++column) {
    for (std::int64_t row = 0; row < game::boardRows; ++row) {
      Cell& c = board[column][row];
      c = Cell{17, 2, 5, 3, 1, 1, 1, 130, 11, 12, 13, 14};
    }
  }
  for (std::int64_t player = 1; player <= 4; ++player) {
    players[player] = game::PlayerRecord{10 + player, 0, 40, 30};
  }
  gameState.result = 5;
  gameState.autoAttack = 1;
  gameState.turnNumber = 9;
  gameState.currentSlot = 3;
  gameState.selectedAction = game::actionArmy;
  gameState.pcDelay = 0;

  headless::seed(8);
  game::newGame();
  expectFreshGame();
  // The computer player's scores are its own scratch space and are not reset.
  for (std::int64_t column = 0; column < game::boardColumns; ++column) {
    for (std::int64_t row = 0; row < game::boardRows; ++row) {
      const Cell& c = board[column][row];
      EXPECT_EQ(c.navyScore, 11);
      EXPECT_EQ(c.armyScore, 12);
      EXPECT_EQ(c.fortScore, 13);
      EXPECT_EQ(c.cityScore, 14);
    }
  }
}

// Tile of the scripted board's land cells: columns 1..11 of rows 1 and 2.
std::int64_t scriptedTile(std::int64_t column, std::int64_t row) {
  return 11 + (column + row) % 12;
}

// Every draw of a set-up, in order. A try on a taken cell is dropped, homes are
// redrawn from water and owned cells, and the gold-mine chance is drawn only for
// unowned land above tile 11.
std::vector<std::int64_t> scriptedDraws() {
  std::vector<std::int64_t> draws = {22};
  for (std::int64_t row = 1; row <= 2; ++row) {
    for (std::int64_t column = 1; column <= 11; ++column) {
      draws.insert(draws.end(), {column, row, scriptedTile(column, row)});
      if (column == 1 && row == 1) draws.insert(draws.end(), {1, 1, 20});
    }
  }
  draws.insert(draws.end(), {5, 5, 1, 1});  // player 1: water, then (1, 1)
  draws.insert(draws.end(), {1, 1, 2, 1});  // player 2: owned, then (2, 1)
  draws.insert(draws.end(), {3, 1});        // player 3
  draws.insert(draws.end(), {4, 2});        // player 4
  draws.insert(draws.end(), {11, 1});       // tile 11: no chance draw
  draws.insert(draws.end(), {2, 1});        // a home: no chance draw
  draws.insert(draws.end(), {6, 2, 39});    // hit
  draws.insert(draws.end(), {7, 2, 40});    // miss
  draws.insert(draws.end(), {6, 2, 1});     // the same mine hit again
  draws.insert(draws.end(), {1, 3, 2});     // shuffle: 1 2 3 4 -> 2 1 3 4 -> 2 1 3 4 -> 2 4 3 1
  return draws;
}

TEST_F(NewGameTest, ScriptedDrawsBuildExactlyTheirBoard) {
  const std::vector<std::int64_t> draws = scriptedDraws();
  headless::forceDraws(draws);
  game::newGame();
  EXPECT_EQ(headless::forcedDrawsLeft(), 0u);
  EXPECT_EQ(headless::drawCount(), static_cast<std::int64_t>(draws.size()));

  for (std::int64_t column = 0; column < game::boardColumns; ++column) {
    for (std::int64_t row = 0; row < game::boardRows; ++row) {
      const Cell& c = board[column][row];
      SCOPED_TRACE("cell " + std::to_string(column) + "," + std::to_string(row));
      const bool land = column >= 1 && column <= 11 && (row == 1 || row == 2);
      EXPECT_EQ(c.terrain, land ? scriptedTile(column, row) : 0);
    }
  }
  const struct {
    std::int64_t column, row, owner;
  } homes[] = {{1, 1, 1}, {2, 1, 2}, {3, 1, 3}, {4, 2, 4}};
  for (const auto& home : homes) {
    EXPECT_EQ(board[home.column][home.row].owner, home.owner);
  }
  EXPECT_EQ(board[6][2].goldMine, 1);
  EXPECT_EQ(board[6][2].income, 4);
  EXPECT_EQ(board[6][2].defence, 100);
  EXPECT_EQ(board[7][2].goldMine, 0);
  EXPECT_EQ(board[7][2].defence, 60);
  EXPECT_EQ(board[11][1].goldMine, 0);
  EXPECT_EQ(board[2][1].goldMine, 0);

  EXPECT_EQ(turnOrder, (game::TurnOrder{0, 2, 4, 3, 1, 5}));
  const BoardCensus census = expectFreshGame();
  EXPECT_EQ(census.land, 22);
  EXPECT_EQ(census.goldMines, 1);

  // One present per tile, two per cell redraw (4 homes and 2 mine hits), four boxes, the turn.
  EXPECT_EQ(headless::presentCount(), 22 + 2 * (4 + 2) + 4 + 1);
}

TEST_F(NewGameTest, SidePanelShowsTurnOrderWithFirstPlayerActive) {
  headless::forceDraws(scriptedDraws());
  game::newGame();
  const struct {
    std::int64_t y;
    std::string text;
    std::int64_t colour;
  } expected[] = {{12, "PC-2 (3/1)", view::colourYellow},
                  {62, "YOU  (3/1)", view::colourGrey},
                  {112, "PC-3 (3/1)", view::colourGrey},
                  {162, "PC-1 (3/1)", view::colourGrey}};
  std::vector<headless::TextRecord> boxes;
  bool turnShown = false;
  for (const auto& t : headless::texts()) {
    if (t.x == 1108) boxes.push_back(t);
    if (t.text == "Zug Nr. 0" && t.colour == game::palette[view::colourYellow]) turnShown = true;
  }
  ASSERT_EQ(boxes.size(), std::size(expected));
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_EQ(boxes[i].y, expected[i].y);
    EXPECT_EQ(boxes[i].text, expected[i].text);
    EXPECT_EQ(boxes[i].colour, game::palette[expected[i].colour]);
  }
  EXPECT_TRUE(turnShown);
}

}  // namespace
