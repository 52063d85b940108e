// The combat roll, the conquest of a cell, elimination of players and the city count.
#include "game/combat.h"

#include <array>
#include <string_view>

#include "flow/input.h"
#include "game/random.h"
#include "game/tables.h"
#include "platform/platform.h"
#include "view/board.h"
#include "view/panel.h"

namespace game {

namespace {

constexpr std::int64_t attackBase = 72;
constexpr std::int64_t rollSides = 30;
constexpr std::int64_t defenceOffset = 20;
constexpr std::int64_t fortBonus = 20;
constexpr std::int64_t defenceLostOnFailure = 20;
constexpr std::int64_t eliminationHoldMs = 1250;

constexpr std::array<std::string_view, 5> eliminationTexts = {
    "", "PC-1 ist erledigt", "PC-2 wurde ausgeloescht", "PC-3 hat's erwischt",
    "GAME OVER !!!! <Taste>"};

void announceElimination(std::int64_t player) {
  view::showMessage(eliminationTexts[player]);
  if (player == human) {
    // Only a key or click made after the message may end the wait.
    flow::keyCode = 0;
    flow::waitForKey();
  } else {
    platform::sleepMs(eliminationHoldMs);
  }
  players[player].turnSlot += eliminatedMark;
  view::drawPlayerBox(player, view::playerEliminated);
  view::clearMessageLine();
}

}  // namespace

std::int64_t resolveAttack(std::int64_t column, std::int64_t row) {
  view::blinkCell(column, row);
  Cell& cell = board[column][row];
  const std::int64_t attack = randomRange(1, rollSides) + attackBase;
  std::int64_t defence = cell.defence + randomRange(1, rollSides) - defenceOffset;
  if (cell.fort > 0) defence += fortBonus;
  if (attack - defence > 0) return 1;
  // No floor is needed: a roll can fail only from 63 (43 with a fort) upward.
  cell.defence -= defenceLostOnFailure;
  return 0;
}

void conquer(std::int64_t column, std::int64_t row, std::int64_t attacker) {
  Cell& cell = board[column][row];
  cell.owner = attacker;
  cell.roundsOwned = 0;
  cell.fort = 0;
  cell.city = 0;
}

void checkEliminations() {
  std::array<std::int64_t, 5> cells{};
  for (std::int64_t column = 1; column <= playColumns; ++column) {
    for (std::int64_t row = 1; row <= playRows; ++row) {
      const std::int64_t owner = board[column][row].owner;
      if (owner >= 1 && owner <= human) ++cells[owner];
    }
  }
  for (std::int64_t player = human; player >= 1; --player) {
    if (cells[player] == 0 && players[player].turnSlot < eliminatedMark) {
      announceElimination(player);
    }
  }
  std::int64_t withoutLand = 0;
  std::int64_t survivor = 0;
  for (std::int64_t player = 1; player <= human; ++player) {
    if (cells[player] == 0) {
      ++withoutLand;
    } else {
      survivor = player;
    }
  }
  if (withoutLand == human - 1) gameState.result = 3 + survivor;
}

std::int64_t countCities(std::int64_t player) {
  std::int64_t count = 0;
  for (std::int64_t column = 1; column <= playColumns; ++column) {
    for (std::int64_t row = 1; row <= playRows; ++row) {
      const Cell& cell = board[column][row];
      if (cell.owner == player && cell.city > 0) ++count;
    }
  }
  return count;
}

}  // namespace game
