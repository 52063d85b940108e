// Window events translated into the game's event kinds, and the cursor in client pixels.
#include <SDL.h>

#include "platform/platform.h"
#include "platform/sdl/keys.h"
#include "platform/sdl/screen.h"
#include "platform/sdl/window.h"

namespace platform {
namespace {

std::int64_t lastKey = 0;

// The client size the game learned last: the size at a maximise or a forced
// resize, the opening size at a restore. A size change that the game has not
// yet learned about is reported as `resized`, so that it can never keep a stale
// size, whatever order the window manager's notifications come in.
int knownWidth = static_cast<int>(screenWidth);
int knownHeight = static_cast<int>(screenHeight);

void learnCurrentSize() { SDL_GetWindowSize(sdl::window(), &knownWidth, &knownHeight); }

EventKind windowEvent(const SDL_WindowEvent& event) {
  switch (event.event) {
    case SDL_WINDOWEVENT_MINIMIZED:
      return EventKind::minimised;
    case SDL_WINDOWEVENT_MAXIMIZED:
      sdl::repaint();
      learnCurrentSize();
      return EventKind::maximised;
    case SDL_WINDOWEVENT_RESTORED:
      sdl::repaint();
      // SDL also says restored when a minimised window comes back maximised.
      if (sdl::windowIsMaximised()) {
        learnCurrentSize();
        return EventKind::maximised;
      }
      knownWidth = static_cast<int>(screenWidth);
      knownHeight = static_cast<int>(screenHeight);
      return EventKind::restored;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      sdl::repaint();
      if ((SDL_GetWindowFlags(sdl::window()) & SDL_WINDOW_MINIMIZED) != 0 ||
          (event.data1 == knownWidth && event.data2 == knownHeight)) {
        return EventKind::other;
      }
      knownWidth = event.data1;
      knownHeight = event.data2;
      return EventKind::resized;
    case SDL_WINDOWEVENT_EXPOSED:
      sdl::repaint();
      return EventKind::other;
    case SDL_WINDOWEVENT_CLOSE:
      return EventKind::closeRequested;
    default:
      return EventKind::other;
  }
}

// Windows reports F10 and every key released while Alt is held as a system key,
// which the game ignores.
Event keyRelease(const SDL_KeyboardEvent& event) {
  const std::int64_t key = sdl::virtualKey(event.keysym);
  if (key == 0 || key == 121 || (event.keysym.mod & KMOD_ALT) != 0) return {};
  return {EventKind::keyReleased, key};
}

// The second press of a double click is no press of its own.
EventKind buttonPress(const SDL_MouseButtonEvent& event) {
  if (event.clicks >= 2) return EventKind::other;
  if (event.button == SDL_BUTTON_LEFT) return EventKind::leftPressed;
  if (event.button == SDL_BUTTON_RIGHT) return EventKind::rightPressed;
  return EventKind::other;
}

bool cursorInClient(int& x, int& y) {
  SDL_Window* window = sdl::window();
  if (window == nullptr || SDL_GetMouseFocus() != window) return false;
  int width = 0, height = 0;
  SDL_GetMouseState(&x, &y);
  SDL_GetWindowSize(window, &width, &height);
  return x >= 0 && y >= 0 && x < width && y < height;
}

}  // namespace

bool pollEvent(Event& event) {
  SDL_Event raw;
  while (SDL_PollEvent(&raw) != 0) {
    switch (raw.type) {
      case SDL_KEYUP:
        event = keyRelease(raw.key);
        break;
      case SDL_MOUSEBUTTONDOWN:
        event = {buttonPress(raw.button), 0};
        break;
      case SDL_WINDOWEVENT:
        event = {windowEvent(raw.window), 0};
        break;
      case SDL_MOUSEMOTION:
        // The game samples the cursor before it takes the pass's event, so a press
        // that follows a move must come in a later pass than the move. A run of
        // moves still counts as one event.
        while (SDL_PeepEvents(&raw, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
               raw.type == SDL_MOUSEMOTION) {
          SDL_PeepEvents(&raw, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        }
        event = {};
        lastKey = 0;
        return true;
      default:
        // SDL's quit event among them: the close box already came as a window event.
        continue;
    }
    // Key presses, button releases and the like mean nothing to the game, and a
    // pass of its loops takes one event: handed out, they would queue up behind a
    // long computer turn and delay an Esc or a click by minutes.
    if (event.kind == EventKind::other) continue;
    lastKey = event.key;
    return true;
  }
  return false;
}

std::int64_t eventKey() { return lastKey; }

std::int64_t mouseX() {
  int x = 0, y = 0;
  return cursorInClient(x, y) ? x : -1;
}

std::int64_t mouseY() {
  int x = 0, y = 0;
  return cursorInClient(x, y) ? y : -1;
}

}  // namespace platform
