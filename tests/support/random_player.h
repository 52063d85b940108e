// A random-input player for whole games on the headless back end.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace testing_support {

// Installed as the headless idle hook, it feeds one random event whenever the
// game polls an empty script: keys that mean something and keys that do not,
// presses anywhere on the window, Done, window changes, rare Esc and close
// requests; at the restart prompt it answers J now and then, else N. After
// every poll of a set-up game it checks the table invariants and records the
// first violation.
class RandomPlayer {
 public:
  explicit RandomPlayer(std::uint64_t seed) : random_(seed) {}
  void install();  // as the idle hook
  void onIdle();   // one step, for a hook of the caller's own

  const std::string& violation() const { return violation_; }
  std::int64_t eventsSent() const { return events_; }
  std::int64_t gamesStarted() const { return games_; }
  std::int64_t longestGame() const { return longestGame_; }

 private:
  void sendEvent();
  std::int64_t pick(std::int64_t min, std::int64_t max);

  std::mt19937_64 random_;
  std::string violation_;
  std::int64_t events_ = 0;
  std::int64_t games_ = 0;
  std::int64_t longestGame_ = 0;
  bool atStartPrompt_ = false;
};

}  // namespace testing_support
