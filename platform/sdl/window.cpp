// The desktop window: opening it centred with the right frame, its client size, closing it.
#include "platform/sdl/window.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <string>

#include "assets/embedded.h"
#include "platform/platform.h"
#include "platform/sdl/icon.h"
#include "platform/sdl/session.h"

namespace platform {
namespace {

SDL_Window* desktopWindow = nullptr;

struct X11Window {
  Display* display = nullptr;
  ::Window window = 0;
};

X11Window x11Window() {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (desktopWindow == nullptr || !SDL_GetWindowWMInfo(desktopWindow, &info) ||
      info.subsystem != SDL_SYSWM_X11) {
    return {};
  }
  return {info.info.x11.display, info.info.x11.window};
}

void setIcon() {
  SDL_Surface* icon = sdl::decodeIcon(assets::iconPng());
  if (icon == nullptr) return;
  SDL_SetWindowIcon(desktopWindow, icon);
  SDL_FreeSurface(icon);
}

// Centred, except that a window larger than the screen starts at the screen's edge.
SDL_Point startPosition(int width, int height) {
  SDL_Point position{static_cast<int>(SDL_WINDOWPOS_CENTERED),
                     static_cast<int>(SDL_WINDOWPOS_CENTERED)};
  SDL_Rect bounds;
  if (SDL_GetDisplayBounds(0, &bounds) != 0) return position;
  if (bounds.w < width) position.x = bounds.x;
  if (bounds.h < height) position.y = bounds.y;
  return position;
}

bool hasAtom(const X11Window& x, Atom property, Atom wanted) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(x.display, x.window, property, 0, 64, False, XA_ATOM, &type, &format,
                         &count, &remaining, &data) != Success) {
    return false;
  }
  bool found = false;
  if (data != nullptr && type == XA_ATOM && format == 32) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) found = found || atoms[i] == wanted;
  }
  if (data != nullptr) XFree(data);
  return found;
}

bool videoHeld = false;

// The window is created resizable so that window managers offer maximise; these
// hints then take the sizing border away. Window managers such as openbox offer
// maximise only to windows they may resize, so the resize function stays; a size
// a user forces anyway reaches the game as a resize event and is stretched to.
void setFrameHints() {
  const X11Window x = x11Window();
  if (x.display == nullptr) return;
  constexpr unsigned long hintFunctions = 1, hintDecorations = 2;
  constexpr unsigned long functionResize = 2, functionMove = 4, functionMinimise = 8,
                          functionMaximise = 16, functionClose = 32;
  constexpr unsigned long decorBorder = 2, decorTitle = 8, decorMenu = 16, decorMinimise = 32,
                          decorMaximise = 64;
  // The property is five 32-bit items, which Xlib passes as longs.
  const unsigned long hints[5] = {
      hintFunctions | hintDecorations,
      functionResize | functionMove | functionMinimise | functionMaximise | functionClose,
      decorBorder | decorTitle | decorMenu | decorMinimise | decorMaximise, 0, 0};
  const Atom motifHints = XInternAtom(x.display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(x.display, x.window, motifHints, motifHints, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(hints), 5);
  XFlush(x.display);
}

}  // namespace

namespace sdl {

SDL_Window* window() { return desktopWindow; }

bool windowIsMaximised() {
  const X11Window x = x11Window();
  if (x.display == nullptr) {
    return desktopWindow != nullptr && (SDL_GetWindowFlags(desktopWindow) & SDL_WINDOW_MAXIMIZED);
  }
  const Atom state = XInternAtom(x.display, "_NET_WM_STATE", False);
  return hasAtom(x, state, XInternAtom(x.display, "_NET_WM_STATE_MAXIMIZED_VERT", False)) &&
         hasAtom(x, state, XInternAtom(x.display, "_NET_WM_STATE_MAXIMIZED_HORZ", False));
}

void correctStaleSize() {
  static Uint64 lastCorrection = 0;
  const X11Window x = x11Window();
  XWindowAttributes attributes;
  if (x.display == nullptr || XGetWindowAttributes(x.display, x.window, &attributes) == 0) return;
  int width = 0, height = 0;
  SDL_GetWindowSize(desktopWindow, &width, &height);
  if (attributes.width == width && attributes.height == height) return;
  const Uint64 now = SDL_GetTicks64();
  if (now - lastCorrection < 1000 || windowIsMaximised()) return;
  lastCorrection = now;
  SDL_SetWindowSize(desktopWindow, attributes.width, attributes.height);
}

}  // namespace sdl

bool openWindow(std::string_view title, std::int64_t width, std::int64_t height) {
  if (desktopWindow != nullptr) return true;
  if (!videoHeld) videoHeld = sdl::holdVideo();
  if (!videoHeld) return false;
  const int w = static_cast<int>(width);
  const int h = static_cast<int>(height);
  const SDL_Point position = startPosition(w, h);
  const std::string caption(title);
  desktopWindow = SDL_CreateWindow(caption.c_str(), position.x, position.y, w, h,
                                   SDL_WINDOW_RESIZABLE | SDL_WINDOW_HIDDEN);
  if (desktopWindow == nullptr) return false;
  setIcon();
  SDL_ShowWindow(desktopWindow);
  // After showing: SDL writes its own frame hints when it maps the window, and
  // window managers follow a later change of them.
  setFrameHints();
  // Without this, SDL sends text events that nothing reads.
  SDL_StopTextInput();
  return true;
}

void closeWindow() {
  if (desktopWindow != nullptr) SDL_DestroyWindow(desktopWindow);
  desktopWindow = nullptr;
  // SDL_Quit drops every subsystem reference still held, the window's included.
  videoHeld = false;
  SDL_Quit();
}

std::int64_t windowWidth() {
  int w = 0;
  if (desktopWindow != nullptr) SDL_GetWindowSize(desktopWindow, &w, nullptr);
  return w;
}

std::int64_t windowHeight() {
  int h = 0;
  if (desktopWindow != nullptr) SDL_GetWindowSize(desktopWindow, nullptr, &h);
  return h;
}

}  // namespace platform
