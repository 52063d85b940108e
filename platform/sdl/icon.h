// Decoding of the window icon, kept apart from the game's image slots.
#pragma once

#include <SDL.h>

#include <span>

namespace platform::sdl {

// An RGBA surface of the PNG, or nullptr when the data is not a readable PNG.
// The caller frees it.
SDL_Surface* decodeIcon(std::span<const unsigned char> png);

}  // namespace platform::sdl
