// The desktop window, shared by the screen and event code of the SDL back end.
#pragma once

#include <SDL.h>

namespace platform::sdl {

SDL_Window* window();  // nullptr while no window is open

// Whether the window manager shows the window maximised right now. SDL can say
// "restored" when a minimised, maximised window comes back.
bool windowIsMaximised();

// Corrects SDL's idea of the client size where it has fallen behind the X
// server's: after a quick maximise and restore SDL can miss the restore's size
// change and would go on drawing a picture of the maximised size into the
// window. Left alone while the window is maximised, where a size request would
// be refused, and tried at most once a second.
void correctStaleSize();

}  // namespace platform::sdl
