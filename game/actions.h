// The human player's actions on the board cell under the cursor.
#pragma once

#include <cstdint>

namespace game {

// Tests the gold for the selected action and carries it out at the cursor.
void executeAction();
void armyAttack();
void navyAttack();
void buildFort();
void buildCity();

struct CellPosition {
  std::int64_t column;
  std::int64_t row;
};
// The cell under a Screen position, truncated toward zero: x -67..121 gives column 1.
CellPosition cellAt(std::int64_t x, std::int64_t y);

}  // namespace game
