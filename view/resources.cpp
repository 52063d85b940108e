// Fonts and built-in images: the font slots, the decoded pictures, the tiles, the Done pictures.
#include "view/resources.h"

#include <span>

#include "assets/embedded.h"
#include "platform/platform.h"
#include "view/palette.h"

namespace view {

namespace {

constexpr std::int64_t firstTile = 11;
constexpr std::int64_t lastTile = 22;
constexpr std::int64_t tileSize = 95;
constexpr std::int64_t tilePitch = 100;
constexpr std::int64_t tileSheetMargin = 3;
constexpr std::int64_t tileSheetColumns = 3;

constexpr std::int64_t doneWidth = 180;
constexpr std::int64_t doneHeight = 50;

void decode(std::int64_t slot, std::span<const unsigned char> bytes) {
  platform::decodeImage(slot, bytes.data(), bytes.size());
}

// The picture runs from colour `top` in its first row to `bottom` in its last, with a black
// band along the top and the right edge that frames it against the side panel.
void makeDonePicture(std::int64_t slot, std::int64_t top, std::int64_t bottom) {
  platform::createImage(slot, doneWidth, doneHeight);
  platform::beginDraw(slot);
  platform::fillBox(0, 0, doneWidth, doneHeight, colour(colourBlack));
  platform::fillGradientBox(0, 3, 177, 47, colour(top), colour(bottom), 0, doneHeight);
  platform::setFont(fontLetter);
  platform::drawText(40, 8, "Done", colour(colourYellow));
  platform::endDraw();
  platform::present();
}

}  // namespace

void loadFonts() {
  platform::loadFont(fontPanel, "Bookman Old Style", 18, true);
  platform::loadFont(fontLetter, "Bookman Old Style", 22, true);
  platform::loadFont(fontHelp, "Arial", 18, false);
}

void prepareImages() {
  decode(imageBackdrop, assets::backdropJpeg());
  decode(imageTileSheet, assets::tileSheetPng());
  decode(imageSea, assets::seaJpeg());
  for (std::int64_t n = firstTile; n <= lastTile; ++n) {
    const std::int64_t x = tileSheetMargin + tilePitch * ((n - firstTile) % tileSheetColumns);
    const std::int64_t y = tileSheetMargin + tilePitch * ((n - firstTile) / tileSheetColumns);
    platform::grabImage(imageTileSheet, n, x, y, tileSize, tileSize);
  }
  makeDonePicture(imageDoneNormal, colourDoneLight, colourDoneDark);
  makeDonePicture(imageDoneLit, colourDoneDark, colourDoneLight);
}

}  // namespace view
