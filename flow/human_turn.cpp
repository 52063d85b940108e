// The human player's turn: one event per pass, actions by keys or buttons, board actions, Done.
#include "flow/human_turn.h"

#include <cstdint>

#include "flow/input.h"
#include "game/actions.h"
#include "game/tables.h"
#include "platform/platform.h"
#include "view/panel.h"

namespace flow {

namespace {

constexpr std::int64_t idlePauseMs = 5;
constexpr std::int64_t doneFlashMs = 120;
constexpr std::int64_t donePauseMs = 500;

// Window pixels to Screen pixels: the quotient first, in double precision,
// then truncated toward zero (a cursor at -1 outside the window gives -1 or 0).
std::int64_t scaled(std::int64_t windowPosition, std::int64_t logicalSize, std::int64_t clientSize) {
  if (clientSize <= 0) clientSize = logicalSize;
  const double factor = static_cast<double>(logicalSize) / static_cast<double>(clientSize);
  return static_cast<std::int64_t>(factor * static_cast<double>(windowPosition));
}

void select(std::int64_t action) {
  auto& state = game::gameState;
  view::drawActionButton(state.selectedAction, view::buttonNormal);
  state.selectedAction = action;
  state.autoAttack = 0;
  view::drawActionButton(state.selectedAction, view::buttonSelected);
}

// The actions cycle City, Navy, Fort, Army in button order and wrap at both ends;
// from no selection, "previous" gives Army and "next" gives City.
std::int64_t previousAction(std::int64_t action) {
  return action - 1 < game::actionCity ? game::actionArmy : action - 1;
}
std::int64_t nextAction(std::int64_t action) {
  const std::int64_t next = action + 1;
  return next < game::actionCity || next > game::actionArmy ? game::actionCity : next;
}

void endTurn() {
  auto& state = game::gameState;
  view::drawDoneButton(view::doneLit);
  platform::sleepMs(doneFlashMs);
  view::drawDoneButton(view::doneNormal);
  if (state.selectedAction > 0) {
    view::drawActionButton(state.selectedAction, view::buttonNormal);
    state.selectedAction = game::actionNone;
    state.autoAttack = 0;
  }
  view::drawPlayerBox(game::human, view::playerWaiting);
  platform::sleepMs(donePauseMs);
  ++state.currentSlot;
}

// One pass of the turn; true when it ends the turn.
bool turnPass() {
  auto& state = game::gameState;
  platform::present();
  keyCode = 0;
  panelCode = 0;
  cursorX = scaled(platform::mouseX(), platform::screenWidth, clientWidth);
  cursorY = scaled(platform::mouseY(), platform::screenHeight, clientHeight);
  panelCode = panelHit();  // sampled before the event, as the press refers to it

  platform::Event event;
  if (platform::pollEvent(event)) {
    handleEvent(modeKeep, event);
  } else {
    platform::sleepMs(idlePauseMs);
  }

  if (keyCode == keyA || keyCode == keyUp) select(previousAction(state.selectedAction));
  if (keyCode == keyY || keyCode == keyDown || keyCode == keyS) {
    select(nextAction(state.selectedAction));
  }
  // A running repeated attack takes over every pass, whatever was pressed.
  if (state.autoAttack == 1) keyCode = commandBoard;
  if (keyCode == commandBoard) game::executeAction();
  bool over = false;
  if (keyCode == commandDone) {
    endTurn();
    over = true;
  }
  if (keyCode >= commandBase + game::actionCity && keyCode <= commandBase + game::actionArmy) {
    select(keyCode - commandBase);
  }
  return over || state.result == game::resultAborted;
}

}  // namespace

void humanTurn() {
  auto& state = game::gameState;
  view::showMessage("Du bist dran");
  view::drawPlayerBox(game::human, view::playerActive);
  if (game::players[game::human].turnSlot > game::eliminatedMark) {
    ++state.currentSlot;
    return;
  }
  while (!turnPass()) {
  }
}

}  // namespace flow
