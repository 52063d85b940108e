// Setting up a game: the players, a random board built up on screen tile by tile, the turn order.
#include "game/new_game.h"

#include <cstdint>

#include "game/random.h"
#include "game/tables.h"
#include "view/board.h"
#include "view/panel.h"

namespace game {

namespace {

constexpr std::int64_t fewestLandCells = 22;
constexpr std::int64_t mostLandCells = 48;
constexpr std::int64_t lastLandTerrain = 22;
constexpr std::int64_t newLandDefence = 60;
constexpr std::int64_t strongDefence = 100;  // home cells and starting gold mines
constexpr std::int64_t goldMineTries = 5;
constexpr std::int64_t goldMineChance = 40;  // a 1..100 draw below this makes a mine
constexpr std::int64_t goldMineIncome = 4;
constexpr std::int64_t startGold = 3;
constexpr std::int64_t startIncome = 1;
constexpr std::int64_t playerColourBase = 24;
constexpr std::int64_t accountingSlot = 5;
constexpr std::int64_t computerDelayMs = 1250;

// The computer player's scores survive: it rewrites them before it reads them.
void clearCell(Cell& cell) {
  cell.terrain = 0;
  cell.owner = 0;
  cell.roundsOwned = 0;
  cell.income = 0;
  cell.goldMine = 0;
  cell.fort = 0;
  cell.city = 0;
  cell.defence = 0;
}

void placeLand() {
  const std::int64_t wanted = randomRange(fewestLandCells, mostLandCells);
  std::int64_t placed = 0;
  while (placed < wanted) {
    const std::int64_t column = randomRange(1, playColumns);
    const std::int64_t row = randomRange(1, playRows);
    const std::int64_t tile = randomRange(firstLandTerrain, lastLandTerrain);
    Cell& cell = board[column][row];
    if (cell.terrain != 0) continue;
    cell.terrain = tile;
    cell.income = 1;
    cell.defence = newLandDefence;
    ++placed;
  }
}

void placeHome(std::int64_t player) {
  std::int64_t column = 0;
  std::int64_t row = 0;
  do {
    column = randomRange(1, playColumns);
    row = randomRange(1, playRows);
  } while (board[column][row].owner != 0 || board[column][row].terrain < firstLandTerrain);
  Cell& cell = board[column][row];
  cell.owner = player;
  cell.roundsOwned = 1;
  cell.defence = strongDefence;
  view::drawCell(column, row);
}

// The chance draw is made only for a cell that could hold a mine, so the
// number of draws depends on the board.
void tryGoldMine() {
  const std::int64_t column = randomRange(1, playColumns);
  const std::int64_t row = randomRange(1, playRows);
  Cell& cell = board[column][row];
  if (cell.terrain <= firstLandTerrain || cell.owner != 0) return;
  if (randomRange(1, 100) >= goldMineChance) return;
  cell.goldMine = 1;
  cell.income = goldMineIncome;
  cell.defence = strongDefence;
  view::drawCell(column, row);
}

}  // namespace

void generateBoard() {
  for (auto& column : board) {
    for (Cell& cell : column) clearCell(cell);
  }
  placeLand();
  for (std::int64_t column = 1; column <= playColumns; ++column) {
    for (std::int64_t row = 1; row <= playRows; ++row) {
      if (board[column][row].terrain > 0) view::drawTile(column, row);
    }
  }
  for (std::int64_t player = 1; player <= human; ++player) placeHome(player);
  for (std::int64_t attempt = 0; attempt < goldMineTries; ++attempt) tryGoldMine();
}

void newGame() {
  for (std::int64_t player = 1; player <= human; ++player) {
    players[player] = PlayerRecord{.turnSlot = player,
                                   .colourIndex = playerColourBase + player,
                                   .gold = startGold,
                                   .roundIncome = startIncome};
  }
  generateBoard();
  gameState.result = resultRunning;
  gameState.selectedAction = actionNone;
  gameState.turnNumber = 0;
  gameState.autoAttack = 0;
  gameState.pcDelay = computerDelayMs;
  for (std::int64_t slot = 1; slot <= accountingSlot; ++slot) turnOrder[slot] = slot;
  shuffleRange(turnOrder, 1, human);
  for (std::int64_t slot = 1; slot <= human; ++slot) players[turnOrder[slot]].turnSlot = slot;
  view::drawPlayerBox(turnOrder[1], view::playerActive);
  for (std::int64_t slot = 2; slot <= human; ++slot) {
    view::drawPlayerBox(turnOrder[slot], view::playerWaiting);
  }
  view::drawTurnNumber();
  gameState.currentSlot = 1;
  // City is selected although no button shows it: a first click on the board builds a city.
  gameState.selectedAction = actionCity;
}

}  // namespace game
