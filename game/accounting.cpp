// The round accounting: income, random events, defences, caps, the next round.
#include "game/accounting.h"

#include <algorithm>
#include <array>
#include <string>

#include "game/random.h"
#include "game/tables.h"
#include "platform/platform.h"
#include "view/board.h"
#include "view/panel.h"

namespace game {
namespace {

constexpr std::int64_t eventChanceBelow = 8;  // a draw of 1..100 below this: 7 in 100
constexpr std::int64_t rebellion = 1;
constexpr std::int64_t plague = 2;
constexpr std::int64_t fortCollapse = 3;
constexpr std::int64_t goldFound = 4;
constexpr std::int64_t maxGoldPerRound = 30;
constexpr std::int64_t maxGold = 40;
constexpr std::int64_t maxRoundIncome = 30;

using GoldSums = std::array<std::int64_t, 5>;  // indexed by PlayerId

std::string at(std::int64_t column, std::int64_t row) {
  return std::to_string(column) + " , " + std::to_string(row);
}

// Shows an event that applies: the flash and the message come before the change,
// so the player sees the cell as it was while it is announced.
void announce(std::int64_t column, std::int64_t row, const std::string& text) {
  view::blinkCell(column, row);
  view::showMessage(text);
}

void showChange(std::int64_t column, std::int64_t row) {
  view::drawCell(column, row);
  platform::sleepMs(gameState.pcDelay);
}

void strike(std::int64_t column, std::int64_t row, std::int64_t kind) {
  Cell& cell = board[column][row];
  switch (kind) {
    case rebellion:
      announce(column, row, "Provinz " + at(column, row) + " rebelliert !!!");
      cell.owner = 0;
      cell.roundsOwned = 0;
      cell.income = cell.goldMine == 1 ? 4 : 1;
      cell.fort = 0;
      cell.city = 0;
      break;
    case plague:
      if (cell.city == 0) return;
      announce(column, row, "Stadt " + at(column, row) + " wurde durch eine Seuche zerstört !!!");
      cell.income = 1;
      cell.city = 0;
      break;
    case fortCollapse:
      if (cell.fort == 0) return;
      announce(column, row, "Das Fort auf " + at(column, row) + " ist zusammengebrochen !!!");
      cell.fort = 0;
      break;
    default:
      if (cell.city == 0) return;
      announce(column, row, "In " + at(column, row) + " wurde eine Goldmine entdeckt !!!");
      cell.income = 4;
      cell.goldMine = 1;
      cell.city = 0;
      break;
  }
  showChange(column, row);
}

void accountCell(std::int64_t column, std::int64_t row, GoldSums& goldSums) {
  Cell& cell = board[column][row];
  // Gold is taken before the event and the income counted after it, so a cell
  // that rebels still pays its old owner this round.
  if (cell.roundsOwned > 0) goldSums[cell.owner] += cell.income;

  if (cell.owner > 0 && randomRange(1, 100) < eventChanceBelow) {
    strike(column, row, randomRange(rebellion, goldFound));
    view::clearMessageLine();
  }

  if (cell.owner > 0) {
    players[cell.owner].roundIncome += cell.income;
    cell.roundsOwned += 1;
    cell.defence = 90 + randomRange(0, 20) + (cell.fort > 0 ? 20 : 0);
  } else {
    cell.defence = cell.goldMine == 1 ? 100 : 60;
  }
}

}  // namespace

void runAccounting() {
  if (gameState.result > 0) return;
  view::showMessage("Hier ist die Zug-Abrechnung: Anfang");

  GoldSums goldSums{};
  for (std::int64_t player = 1; player <= human; ++player) players[player].roundIncome = 0;
  for (std::int64_t column = 1; column <= playColumns; ++column) {
    for (std::int64_t row = 1; row <= playRows; ++row) accountCell(column, row, goldSums);
  }

  for (std::int64_t player = 1; player <= human; ++player) {
    PlayerRecord& record = players[player];
    record.gold = std::min(record.gold + std::min(goldSums[player], maxGoldPerRound), maxGold);
    record.roundIncome = std::min(record.roundIncome, maxRoundIncome);
    // Silent: a winner is only declared after a conquest.
    if (record.roundIncome == 0 && record.turnSlot < eliminatedMark) {
      record.turnSlot += eliminatedMark;
    }
  }

  for (std::int64_t slot = 1; slot <= 4; ++slot) {
    view::drawPlayerBox(turnOrder[slot], view::playerWaiting);
  }
  view::showMessage("Zug-Abrechnung: Ende");
  platform::sleepMs(gameState.pcDelay);
  view::clearMessageLine();

  gameState.currentSlot = 1;
  gameState.turnNumber += 1;
  view::drawTurnNumber();
}

}  // namespace game
