// The desktop window, shared by the screen and event code of the SDL back end.
#pragma once

#include <SDL.h>

namespace platform::sdl {

SDL_Window* window();  // nullptr while no window is open

// Whether the window manager shows the window maximised right now. SDL can say
// "restored" when a minimised, maximised window comes back.
bool windowIsMaximised();

// Gives the window its frame: minimise, maximise and close, but no sizing. Needed
// again whenever SDL re-creates the X window, as it does for an OpenGL renderer.
void setFrameHints();

}  // namespace platform::sdl
