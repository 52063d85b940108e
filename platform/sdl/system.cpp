// Sleeping and the random source of the desktop back end.
#include <chrono>
#include <cstdint>
#include <random>
#include <thread>

#include "platform/platform.h"

namespace platform {

void sleepMs(std::int64_t milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::int64_t randomNumber(std::int64_t min, std::int64_t max) {
  static std::mt19937_64 source(
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  if (max <= min) return min;
  return std::uniform_int_distribution<std::int64_t>(min, max)(source);
}

}  // namespace platform
