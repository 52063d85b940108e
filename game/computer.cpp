// The computer players: scoring every move, choosing the best, carrying it out.
#include "game/computer.h"

#include <array>
#include <string>

#include "game/combat.h"
#include "game/random.h"
#include "game/tables.h"
#include "platform/platform.h"
#include "view/board.h"
#include "view/panel.h"

namespace game {
namespace {

constexpr std::int64_t candidateCount = 120;
// Keys are score x 1000 + entry number, so the entry number must stay below this.
constexpr std::int64_t keyBase = 1000;
constexpr std::int64_t eliminatedHoldMs = 250;

struct Surroundings {
  bool water = false;
  bool foreign = false;
  bool own = false;
};

Surroundings lookAround(std::int64_t column, std::int64_t row, std::int64_t me) {
  constexpr std::array<std::array<std::int64_t, 2>, 4> steps{{{0, -1}, {1, 0}, {0, 1}, {-1, 0}}};
  Surroundings found;
  for (const auto& step : steps) {
    const Cell& next = board[column + step[0]][row + step[1]];
    if (next.terrain < firstLandTerrain) found.water = true;
    if (next.owner > 0 && next.owner != me) found.foreign = true;
    if (next.owner == me) found.own = true;
  }
  return found;
}

void adjustIfPositive(std::int64_t& score, std::int64_t by) {
  if (score > 0) score += by;
}

void scoreCell(std::int64_t column, std::int64_t row, std::int64_t me, bool cityLimitReached) {
  Cell& cell = board[column][row];
  cell.navyScore = 0;
  cell.armyScore = 0;
  cell.fortScore = 0;
  cell.cityScore = 0;
  const Surroundings around = lookAround(column, row, me);
  const bool coastOutOfReach = around.water && !around.own;

  if (cell.owner == 0) {
    cell.navyScore = coastOutOfReach ? 50 : 0;
    cell.armyScore = around.own ? 80 : 0;
    if (cell.goldMine == 1) {
      adjustIfPositive(cell.navyScore, 5);
      adjustIfPositive(cell.armyScore, 5);
    }
  } else if (cell.owner != me) {
    cell.navyScore = coastOutOfReach ? 30 : 0;
    cell.armyScore = around.own ? 45 : 0;
    if (cell.fort > 0) {
      adjustIfPositive(cell.navyScore, -10);
      adjustIfPositive(cell.armyScore, -10);
    }
    if (cell.city > 0) {
      adjustIfPositive(cell.navyScore, 5);
      adjustIfPositive(cell.armyScore, 5);
    }
  } else {
    cell.fortScore = around.foreign ? 55 : 30;
    cell.cityScore = around.foreign ? 25 : 40;
    if (cell.fort > 0) cell.fortScore = 0;
    if (cell.city > 0 || cell.goldMine == 1 || cityLimitReached) cell.cityScore = 0;
  }

  for (std::int64_t kind = moveNavy; kind <= moveCity; ++kind) {
    std::int64_t& score = moveScore(cell, kind);
    if (score > 0) score += randomRange(0, 18) - 9;
  }
}

void listCandidates() {
  for (std::int64_t entry = 1; entry <= candidateCount; ++entry) candidates[entry] = Candidate{};
  std::int64_t next = 1;
  for (std::int64_t column = 1; column <= playColumns; ++column) {
    for (std::int64_t row = 1; row <= playRows; ++row) {
      if (isWater(column, row)) continue;
      for (std::int64_t kind = moveNavy; kind <= moveCity; ++kind) {
        const std::int64_t score = moveScore(board[column][row], kind);
        // A generated board has at most 48 land cells and so at most 96
        // candidates; a fuller board must still not write past the list.
        if (score <= 0 || next > candidateCount) continue;
        candidates[next] = Candidate{score * keyBase + next, kind, column, row};
        ++next;
      }
    }
  }
}

std::int64_t costOf(std::int64_t kind) {
  switch (kind) {
    case moveNavy:
      return navyCost;
    case moveArmy:
      return armyCost;
    case moveFort:
      return fortCost;
    default:
      return cityCost;
  }
}

void dropUnaffordable(std::int64_t gold) {
  for (std::int64_t entry = 1; entry <= candidateCount; ++entry) {
    Candidate& candidate = candidates[entry];
    if (candidate.kind > 0 && gold < costOf(candidate.kind)) {
      candidate.key = 0;
      candidate.kind = moveNone;
    }
  }
}

std::string moveText(std::int64_t me, const Candidate& move) {
  const char* action = "";
  switch (move.kind) {
    case moveNavy:
      action = " Navy-ANGRIFF auf ";
      break;
    case moveArmy:
      action = " Army-ANGRIFF auf ";
      break;
    case moveFort:
      action = " Fort gebaut auf ";
      break;
    default:
      action = " City gebaut auf ";
      break;
  }
  return "PC-" + std::to_string(me) + action + std::to_string(move.column) + "," +
         std::to_string(move.row);
}

void attack(std::int64_t me, const Candidate& move) {
  const std::string text = moveText(me, move);
  players[me].gold -= costOf(move.kind);
  view::showMessage(text);
  if (resolveAttack(move.column, move.row) == 0) {
    view::showMessage(text + " - fehlgeschlagen !!!");
    return;
  }
  conquer(move.column, move.row, me);
  view::drawCell(move.column, move.row);
  view::showMessage(text + " - erfolgreich !!!");
  checkEliminations();
}

void build(std::int64_t me, const Candidate& move) {
  Cell& cell = board[move.column][move.row];
  if (move.kind == moveFort) {
    cell.fort = 1;
  } else {
    cell.city = 1;
    cell.income += 1;
  }
  players[me].gold -= costOf(move.kind);
  view::drawCell(move.column, move.row);
  view::showMessage(moveText(me, move));
}

}  // namespace

void scoreMoves(std::int64_t player) {
  const bool cityLimitReached = countCities(player) >= cityLimit;
  for (std::int64_t column = 1; column <= playColumns; ++column) {
    for (std::int64_t row = 1; row <= playRows; ++row) {
      if (!isWater(column, row)) scoreCell(column, row, player, cityLimitReached);
    }
  }
  listCandidates();
  dropUnaffordable(players[player].gold);
}

std::int64_t chooseMove() {
  std::array<std::int64_t, candidateCount + 1> keys{};
  for (std::int64_t entry = 1; entry <= candidateCount; ++entry)
    keys[entry] = candidates[entry].key;
  sortDescending(keys, 1, candidateCount);
  return keys[1] % keyBase;
}

void computerMove(std::int64_t player) {
  if (players[player].turnSlot > eliminatedMark) {
    view::drawPlayerBox(player, view::playerEliminated);
    platform::sleepMs(eliminatedHoldMs);
    gameState.currentSlot += 1;
    return;
  }
  view::drawPlayerBox(player, view::playerActive);
  scoreMoves(player);
  const std::int64_t entry = chooseMove();

  bool turnOver = false;
  if (entry == 0) {
    view::showMessage("PC-" + std::to_string(player) + " Aussetzen !!");
    turnOver = true;
  } else {
    const Candidate move = candidates[entry];
    if (move.kind == moveNavy || move.kind == moveArmy) {
      attack(player, move);
    } else {
      build(player, move);
    }
  }

  view::drawPlayerBox(player, view::playerActive);
  platform::sleepMs(gameState.pcDelay);
  view::clearMessageLine();
  if (players[player].gold < 1) turnOver = true;
  if (turnOver) {
    view::drawPlayerBox(player, view::playerWaiting);
    gameState.currentSlot += 1;
  }
}

}  // namespace game
