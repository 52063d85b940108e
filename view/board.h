// Drawing the board: the sea, land tiles, cell marks, flashes and the empty play screen.
#pragma once

#include <cstdint>

namespace view {

void drawTile(std::int64_t column, std::int64_t row);
void drawCell(std::int64_t column, std::int64_t row);
void blinkCell(std::int64_t column, std::int64_t row);
void drawBoard();

}  // namespace view
