// Drawing outside the board: backdrop, player boxes, buttons, turn number, footer, message line.
#pragma once

#include <cstdint>
#include <string_view>

namespace view {

// Styles of drawPlayerBox.
constexpr std::int64_t playerWaiting = 1;
constexpr std::int64_t playerActive = 2;
constexpr std::int64_t playerEliminated = 3;
// Styles of drawActionButton.
constexpr std::int64_t buttonNormal = 1;
constexpr std::int64_t buttonSelected = 2;
// Styles of drawDoneButton.
constexpr std::int64_t doneNormal = 0;
constexpr std::int64_t doneLit = 1;

// The footer's credit text on the right.
extern const std::string_view creditText;

void drawPlayerBox(std::int64_t player, std::int64_t style);
void drawActionButton(std::int64_t action, std::int64_t style);
void drawDoneButton(std::int64_t style);
void drawTurnNumber();
void drawBackdrop();
void drawFooter();
void showMessage(std::string_view text);
void clearMessageLine();

}  // namespace view
