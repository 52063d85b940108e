// Translation of SDL keys to the Windows virtual-key codes the game reads.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace platform::sdl {

// The virtual-key code of the key, or 0 for a key the game has no code for.
std::int64_t virtualKey(const SDL_Keysym& key);

}  // namespace platform::sdl
