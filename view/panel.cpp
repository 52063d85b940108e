// Drawing outside the board: backdrop, player boxes, action and Done buttons, turn number, footer.
#include "view/panel.h"

#include <string>

#include "game/tables.h"
#include "platform/platform.h"
#include "view/palette.h"
#include "view/resources.h"

namespace view {

const std::string_view creditText = "Freie Software";

namespace {

constexpr std::int64_t panelX = 1100;
constexpr std::int64_t boxWidth = 177;
constexpr std::int64_t boxHeight = 47;
constexpr std::int64_t rowPitch = 50;
constexpr std::int64_t messageCentre = 640;

constexpr std::string_view playerPrefixes[] = {"", "PC-1 (", "PC-2 (", "PC-3 (", "YOU  ("};

struct ActionButton {
  std::string_view label;
  std::int64_t y;
};

ActionButton actionButton(std::int64_t action) {
  switch (action) {
    case game::actionCity:
      return {"City 2", 370};
    case game::actionNavy:
      return {"Navy 4", 420};
    case game::actionFort:
      return {"Fort 3", 470};
    default:
      return {"Army 1", 520};
  }
}

// The black rim the inner fill leaves uncovered is the line's frame.
void messageLine(std::int64_t innerColour) {
  platform::fillBox(240, 688, 800, 32, colour(colourBlack));
  platform::fillBox(243, 691, 797, 26, innerColour);
}

}  // namespace

void drawPlayerBox(std::int64_t player, std::int64_t style) {
  const game::PlayerRecord& record = game::players[player];
  std::int64_t row = record.turnSlot;
  if (row > game::eliminatedMark) {
    row -= game::eliminatedMark;
    style = playerEliminated;
  }
  const std::string text = std::string(playerPrefixes[player]) + std::to_string(record.gold) + "/" +
                           std::to_string(record.roundIncome) + ")";
  const std::int64_t boxColour = colour(record.colourIndex);
  std::int64_t textColour = boxColour;
  if (style == playerWaiting) {
    textColour = colour(colourGrey);
  } else if (style == playerActive) {
    textColour = colour(colourYellow);
  }
  const std::int64_t y0 = rowPitch * (row - 1);
  platform::beginDraw(platform::screen);
  platform::fillBox(panelX, y0 + 3, boxWidth, boxHeight, boxColour);
  platform::setFont(fontPanel);
  platform::drawText(1108, y0 + 12, text, textColour);
  platform::endDraw();
  platform::present();
}

void drawActionButton(std::int64_t action, std::int64_t style) {
  if (action == game::actionNone) {
    return;
  }
  const ActionButton button = actionButton(action);
  const bool selected = style == buttonSelected;
  platform::beginDraw(platform::screen);
  platform::fillBox(panelX, button.y + 3, boxWidth, boxHeight,
                    colour(selected ? colourButtonLabel : colourButton));
  platform::setFont(fontPanel);
  platform::drawText(1145, button.y + 12, button.label,
                     colour(selected ? colourYellow : colourButtonLabel));
  platform::endDraw();
  platform::present();
}

void drawDoneButton(std::int64_t style) {
  platform::beginDraw(platform::screen);
  platform::drawImage(style == doneLit ? imageDoneLit : imageDoneNormal, panelX, 638);
  platform::endDraw();
  platform::present();
}

void drawTurnNumber() {
  const std::string text = "Zug Nr. " + std::to_string(game::gameState.turnNumber);
  platform::beginDraw(platform::screen);
  platform::fillBox(panelX, 580, 180, 50, colour(colourBlack));
  platform::fillBox(panelX, 583, boxWidth, 44, colour(colourTurnBox));
  platform::setFont(fontPanel);
  platform::drawText(1120, 590, text, colour(colourBlack));
  platform::drawText(1121, 589, text, colour(colourYellow));
  platform::endDraw();
  platform::present();
}

void drawBackdrop() {
  platform::beginDraw(platform::screen);
  platform::drawImage(imageBackdrop, 0, 0);
  platform::endDraw();
  platform::present();
}

void drawFooter() {
  platform::beginDraw(platform::screen);
  platform::fillBox(0, 688, 240, 32, colour(colourBlack));
  platform::fillBox(3, 691, 237, 26, colour(colourFooter));
  messageLine(colour(colourFooter));
  platform::fillBox(1040, 688, 240, 32, colour(colourBlack));
  platform::fillBox(1043, 691, 234, 26, colour(colourFooter));
  platform::setFont(fontPanel);
  platform::drawText(15, 689, "TERRANOX", colour(colourBlack));
  platform::drawText(14, 688, "TERRANOX", colour(colourYellow));
  platform::drawText(1055, 689, creditText, colour(colourBlack));
  platform::drawText(1054, 688, creditText, colour(colourYellow));
  platform::endDraw();
  platform::present();
}

void showMessage(std::string_view text) {
  platform::beginDraw(platform::screen);
  messageLine(colour(colourMessage));
  platform::setFont(fontPanel);
  // Measured, not drawn: a copy drawn to measure a long text would run into the right footer box.
  const std::int64_t x = messageCentre - platform::textWidth(text) / 2;
  platform::drawText(x, 691, text, colour(colourBlack));
  platform::drawText(x, 690, text, colour(colourYellow));
  platform::endDraw();
  platform::present();
}

void clearMessageLine() {
  drawFooter();
  platform::beginDraw(platform::screen);
  messageLine(colour(colourFooter));
  platform::endDraw();
  platform::present();
}

}  // namespace view
