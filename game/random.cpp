// Random draws through the platform's source, shuffles and the descending sort.
#include "game/random.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "platform/platform.h"

namespace game {

std::int64_t randomRange(std::int64_t min, std::int64_t max) {
  return platform::randomNumber(min, max);
}

void shuffleRange(std::span<std::int64_t> list, std::int64_t first, std::int64_t last) {
  for (std::int64_t i = first + 1; i <= last; ++i) {
    const std::int64_t j = randomRange(first, i);
    if (j != i) std::swap(list[i], list[j]);
  }
}

void sortDescending(std::span<std::int64_t> list, std::int64_t first, std::int64_t last) {
  if (last <= first) return;
  std::sort(list.begin() + first, list.begin() + last + 1, std::greater<>());
}

}  // namespace game
