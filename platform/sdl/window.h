// The desktop window, shared by the screen and event code of the SDL back end.
#pragma once

#include <SDL.h>

namespace platform::sdl {

SDL_Window* window();  // nullptr while no window is open

// Whether the window manager shows the window maximised right now. SDL can say
// "restored" when a minimised, maximised window comes back.
bool windowIsMaximised();

}  // namespace platform::sdl
