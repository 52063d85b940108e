// The SDL subsystems the desktop back end holds, shared by its start-up checks and its window.
#pragma once

namespace platform::sdl {

// Takes one reference on SDL's video subsystem; SDL counts them, so the window
// keeps video alive after the display system's own reference is released.
bool holdVideo();

}  // namespace platform::sdl
