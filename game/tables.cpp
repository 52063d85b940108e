// The game tables and their reset.
#include "game/tables.h"

namespace game {

GameState gameState;
Palette palette;
Board board;
PlayerTable players;
TurnOrder turnOrder;
CandidateList candidates;

std::int64_t& moveScore(Cell& cell, std::int64_t kind) {
  switch (kind) {
    case moveNavy:
      return cell.navyScore;
    case moveArmy:
      return cell.armyScore;
    case moveFort:
      return cell.fortScore;
    default:
      return cell.cityScore;
  }
}

void resetTables() {
  gameState = GameState{};
  palette = Palette{};
  board = Board{};
  players = PlayerTable{};
  turnOrder = TurnOrder{};
  candidates = CandidateList{};
}

bool isWater(std::int64_t column, std::int64_t row) {
  return board[column][row].terrain < firstLandTerrain;
}

}  // namespace game
