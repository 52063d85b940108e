// Start-up checks of the display system, keyboard and mouse, their release, and the message box.
#include "platform/sdl/session.h"

#include <SDL.h>

#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "platform/sdl/window.h"

namespace platform {
namespace {

bool displayHeld = false;
bool keyboardHeld = false;
bool mouseHeld = false;

// Hints only count when set before the first subsystem starts.
bool initSubsystem(Uint32 flags) {
  // Ctrl-C in the terminal must end the process, not arrive as a close request.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The window's pixels go to the X server directly, never through a GL texture.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // The close box is reported once, as a window event; SDL's quit event would repeat it.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // A click that activates the window is a click: SDL would drop it when it
  // follows the window manager's focus change within a few milliseconds.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  return SDL_InitSubSystem(flags) == 0;
}

void quitSubsystem(bool& held, Uint32 flags) {
  if (!held) return;
  SDL_QuitSubSystem(flags);
  held = false;
}

// SDL falls back to drivers that draw into memory when no desktop is there;
// a window on them would never be seen.
bool showsWindows() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr) return false;
  const std::string name(driver);
  return name != "offscreen" && name != "dummy" && name != "evdev";
}

}  // namespace

namespace sdl {

bool holdVideo() { return initSubsystem(SDL_INIT_VIDEO); }

}  // namespace sdl

bool openDisplaySystem() {
  if (!displayHeld) displayHeld = sdl::holdVideo();
  return displayHeld && showsWindows() && SDL_GetNumRenderDrivers() > 0 &&
         SDL_GetNumVideoDisplays() > 0;
}

bool openKeyboard() {
  if (!keyboardHeld) keyboardHeld = initSubsystem(SDL_INIT_EVENTS);
  return keyboardHeld && SDL_GetKeyboardState(nullptr) != nullptr &&
         SDL_EventState(SDL_KEYUP, SDL_QUERY) == SDL_ENABLE;
}

bool openMouse() {
  if (!mouseHeld) mouseHeld = initSubsystem(SDL_INIT_EVENTS);
  return mouseHeld && SDL_EventState(SDL_MOUSEBUTTONDOWN, SDL_QUERY) == SDL_ENABLE;
}

void closeKeyboard() { quitSubsystem(keyboardHeld, SDL_INIT_EVENTS); }

void closeMouse() { quitSubsystem(mouseHeld, SDL_INIT_EVENTS); }

void closeDisplaySystem() { quitSubsystem(displayHeld, SDL_INIT_VIDEO); }

void showError(std::string_view title, std::string_view text) {
  const std::string caption(title);
  const std::string message(text);
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), message.c_str(),
                               sdl::window()) != 0) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), message.c_str());
  }
}

}  // namespace platform
