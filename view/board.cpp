// Drawing the board: tiles, cell marks and letters, the flash of a cell, the empty play screen.
#include "view/board.h"

#include <string_view>

#include "game/tables.h"
#include "platform/platform.h"
#include "view/palette.h"
#include "view/panel.h"
#include "view/resources.h"

namespace view {

namespace {

constexpr std::int64_t cellSize = 95;
constexpr std::int64_t markWidth = 25;
constexpr std::int64_t markHeight = 35;
constexpr std::int64_t flashes = 3;
constexpr std::int64_t flashPhaseMs = 100;

std::int64_t cellX(std::int64_t column) { return cellSize * column - 68; }
std::int64_t cellY(std::int64_t row) { return cellSize * row - 83; }

struct Mark {
  bool box = false;
  std::string_view letter;
  std::int64_t letterColour = 0;
};

void drawMarkBox(const Mark& mark, std::int64_t boxX, std::int64_t boxY, std::int64_t boxColour) {
  if (mark.box) {
    platform::fillBox(boxX, boxY, markWidth, markHeight, boxColour);
  }
}

// The black copy one pixel to the left keeps a white or yellow letter readable on a pale box.
void drawMarkLetter(const Mark& mark, std::int64_t boxX, std::int64_t boxY) {
  if (!mark.letter.empty()) {
    platform::drawText(boxX + 1, boxY, mark.letter, colour(colourBlack));
    platform::drawText(boxX + 2, boxY, mark.letter, mark.letterColour);
  }
}

}  // namespace

void drawTile(std::int64_t column, std::int64_t row) {
  platform::beginDraw(platform::screen);
  platform::blendImage(game::board[column][row].terrain, cellX(column), cellY(row));
  platform::endDraw();
  platform::present();
}

void drawCell(std::int64_t column, std::int64_t row) {
  const game::Cell& cell = game::board[column][row];
  Mark left;
  Mark right;
  std::int64_t boxColour = colour(colourFreeMine);
  if (cell.owner == 0) {
    // Forts and cities of land nobody holds are not shown.
    if (cell.goldMine > 0) {
      left = {true, "G", colour(colourYellow)};
    }
  } else {
    boxColour = colour(game::players[cell.owner].colourIndex);
    left.box = true;
    right.box = true;
    if (cell.city > 0) {
      left.letter = "C";
      left.letterColour = colour(colourWhite);
    } else if (cell.goldMine > 0) {
      left.letter = "G";
      left.letterColour = colour(colourYellow);
    }
    if (cell.fort > 0) {
      right.letter = "F";
      right.letterColour = colour(colourWhite);
    }
  }
  // The opaque middle of the tile wipes out whatever marks the cell showed before.
  drawTile(column, row);
  if (game::gameState.blinkA > 0) {
    boxColour = colour(colourBlinkRed);
    left.box = right.box = true;
  }
  if (game::gameState.blinkB > 0) {
    boxColour = colour(colourGrey);
    left.box = right.box = true;
  }

  const std::int64_t x0 = cellX(column);
  const std::int64_t y0 = cellY(row);
  platform::beginDraw(platform::screen);
  drawMarkBox(left, x0 + 20, y0 + 30, boxColour);
  drawMarkBox(right, x0 + 50, y0 + 30, boxColour);
  platform::setFont(fontLetter);
  drawMarkLetter(left, x0 + 20, y0 + 30);
  drawMarkLetter(right, x0 + 50, y0 + 30);
  platform::endDraw();
  platform::present();
}

void blinkCell(std::int64_t column, std::int64_t row) {
  for (std::int64_t flash = 0; flash < flashes; ++flash) {
    game::gameState.blinkA = 1;
    drawCell(column, row);
    platform::sleepMs(flashPhaseMs);
    game::gameState.blinkA = 0;
    game::gameState.blinkB = 1;
    drawCell(column, row);
    platform::sleepMs(flashPhaseMs);
    game::gameState.blinkB = 0;
  }
  drawCell(column, row);
}

void drawBoard() {
  platform::clearScreen(colour(colourBlack));
  drawBackdrop();
  drawFooter();
  platform::beginDraw(platform::screen);
  platform::fillBox(0, 0, 1100, 688, colour(colourBlack));
  platform::drawImage(imageSea, 3, 3);
  platform::fillBox(1100, 0, 180, 203, colour(colourBlack));
  platform::fillBox(1100, 370, 180, 203, colour(colourBlack));
  platform::endDraw();
  platform::present();
  drawDoneButton(doneNormal);
  for (const std::int64_t action :
       {game::actionCity, game::actionNavy, game::actionFort, game::actionArmy}) {
    drawActionButton(action, buttonNormal);
  }
}

}  // namespace view
