// The invariants of the game tables.
#include "support/invariants.h"

#include <sstream>

#include "game/tables.h"

namespace testing_support {

namespace {

bool isMargin(std::int64_t c, std::int64_t r) {
  return c == 0 || c == game::boardColumns - 1 || r == 0 || r == game::boardRows - 1;
}

}  // namespace

std::string tableViolations() {
  std::ostringstream out;
  auto fail = [&out](const std::string& what) { out << what << "; "; };
  const auto& state = game::gameState;

  for (std::int64_t c = 0; c < game::boardColumns; ++c) {
    for (std::int64_t r = 0; r < game::boardRows; ++r) {
      const game::Cell& cell = game::board[c][r];
      const std::string at = " at " + std::to_string(c) + "," + std::to_string(r);
      const bool water = cell.terrain == 0;
      if (!water && (cell.terrain < 11 || cell.terrain > 22)) fail("bad terrain" + at);
      if (isMargin(c, r) && !water) fail("land in the margin" + at);
      if (water && (cell.owner || cell.fort || cell.city || cell.goldMine || cell.roundsOwned)) {
        fail("owned or built-on water" + at);
      }
      if (cell.owner < 0 || cell.owner > 4) fail("bad owner" + at);
      if (cell.owner == 0 && cell.roundsOwned != 0) fail("unowned cell with roundsOwned" + at);
      if (cell.goldMine && cell.city) fail("city on a gold mine" + at);
      if (cell.fort < 0 || cell.fort > 1 || cell.city < 0 || cell.city > 1) fail("flags" + at);
    }
  }

  bool seen[5] = {};
  for (std::int64_t slot = 1; slot <= 4; ++slot) {
    const std::int64_t p = game::turnOrder[slot];
    if (p < 1 || p > 4 || seen[p]) {
      fail("turn order is no permutation");
      break;
    }
    seen[p] = true;
    const std::int64_t turnSlot = game::players[p].turnSlot;
    if (turnSlot != slot && turnSlot != slot + game::eliminatedMark) {
      fail("turnSlot of player " + std::to_string(p) + " does not match its slot");
    }
  }
  if (game::turnOrder[5] != 5) fail("slot 5 is not the accounting");

  for (std::int64_t p = 1; p <= 4; ++p) {
    const game::PlayerRecord& player = game::players[p];
    if (player.gold < 0 || player.gold > 40) fail("gold " + std::to_string(player.gold));
    if (player.roundIncome < 0 || player.roundIncome > 30) fail("roundIncome out of range");
    if (player.colourIndex != 24 + p) fail("colourIndex");
  }

  const std::int64_t a = state.selectedAction;
  if (a != 0 && (a < 2 || a > 5)) fail("selectedAction " + std::to_string(a));
  if (state.currentSlot < 1 || state.currentSlot > 5) fail("currentSlot");
  if (state.autoAttack != 0 && state.autoAttack != 1) fail("autoAttack");
  if (state.blinkA || state.blinkB) fail("blink flag left set");
  const std::int64_t result = state.result;
  if (result != 0 && (result < 4 || result > 7) && result != 9) fail("result");
  return out.str();
}

}  // namespace testing_support
