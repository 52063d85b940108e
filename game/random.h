// The game's uses of chance: uniform draws, shuffles, and the descending sort of the computer player.
#pragma once

#include <cstdint>
#include <span>

namespace game {

// A uniform integer from min to max, both included (0 <= min <= max <= 100).
std::int64_t randomRange(std::int64_t min, std::int64_t max);

// Uniform permutation of list[first..last]: for i = first+1..last, swap i with randomRange(first, i).
void shuffleRange(std::span<std::int64_t> list, std::int64_t first, std::int64_t last);

// Sorts list[first..last] into non-increasing order; the rest stays untouched.
void sortDescending(std::span<std::int64_t> list, std::int64_t first, std::int64_t last);

}  // namespace game
