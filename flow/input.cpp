// Input mapping: window events to key and command codes, the side-panel regions, waiting for a key.
#include "flow/input.h"

#include "game/tables.h"

namespace flow {

std::int64_t keyCode = 0;
std::int64_t panelCode = 0;
std::int64_t cursorX = 0;
std::int64_t cursorY = 0;
std::int64_t clientWidth = 0;
std::int64_t clientHeight = 0;

void resetInput() {
  keyCode = 0;
  panelCode = 0;
  cursorX = 0;
  cursorY = 0;
  clientWidth = 0;
  clientHeight = 0;
}

void recordClientSize() {
  const std::int64_t height = platform::windowHeight();
  const std::int64_t width = platform::windowWidth();
  if (height > 0) clientHeight = height;
  if (width > 0) clientWidth = width;
}

void handleEvent(std::int64_t mode, const platform::Event& event) {
  using platform::EventKind;
  switch (event.kind) {
    case EventKind::closeRequested:
      game::gameState.result = game::resultAborted;
      break;
    case EventKind::maximised:
    case EventKind::resized:
      recordClientSize();
      break;
    case EventKind::restored:
      // The window cannot be resized by the user, so "normal" is the opening size.
      clientHeight = platform::screenHeight;
      clientWidth = platform::screenWidth;
      break;
    case EventKind::leftPressed:
      keyCode = panelCode + commandBase;
      if (mode == modeDrop) keyCode = 0;
      break;
    case EventKind::rightPressed:
      keyCode = panelCode + commandBase;
      if (mode == modeDrop) keyCode = 0;
      if (keyCode == commandBoard && (game::gameState.selectedAction == game::actionNavy ||
                                      game::gameState.selectedAction == game::actionArmy)) {
        game::gameState.autoAttack = 1;
      }
      break;
    case EventKind::keyReleased:
      keyCode = platform::eventKey();
      break;
    case EventKind::minimised:
    case EventKind::other:
      break;
  }
  if (keyCode == keyEsc) game::gameState.result = game::resultAborted;
  if (mode == modeDrop) keyCode = 0;
}

std::int64_t panelHit() {
  if (cursorX < 1100) return panelBoard;
  if (cursorX == 1100) return panelNone;
  struct Region {
    std::int64_t top, bottom, code;  // strictly between top and bottom
  };
  static constexpr Region regions[] = {
      {370, 420, 2}, {420, 470, 3}, {470, 520, 4}, {520, 570, 5}, {638, 688, panelDone}};
  for (const Region& r : regions) {
    if (cursorY > r.top && cursorY < r.bottom) return r.code;
  }
  return panelNone;
}

void waitForKey() {
  do {
    platform::Event event;
    if (platform::pollEvent(event)) {
      handleEvent(modeKeep, event);
    } else {
      platform::sleepMs(5);
    }
  } while (keyCode <= 0);
}

}  // namespace flow
