// The desktop window, shared by the screen and event code of the SDL back end.
#pragma once

#include <SDL.h>

namespace platform::sdl {

SDL_Window* window();  // nullptr while no window is open

// Whether the window manager shows the window maximised right now. SDL can say
// "restored" when a minimised, maximised window comes back.
bool windowIsMaximised();

// Brings SDL's idea of the client size in line with the X server's: after a
// quick maximise and restore SDL can miss the last size change, and would then
// go on drawing a picture of the old size into the window.
void syncWindowSize();

}  // namespace platform::sdl
