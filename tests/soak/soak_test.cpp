// Soak: many seeded programs played by a random-input player, the invariants checked on every poll.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "flow/game_loop.h"
#include "game/tables.h"
#include "support/fixture.h"
#include "support/random_player.h"

namespace {

// The number of programs to play; TERRANOX_SOAK_RUNS overrides it (sanitizer builds play fewer).
int soakRuns() {
  const char* text = std::getenv("TERRANOX_SOAK_RUNS");
  return text ? std::atoi(text) : 1000;
}

class SoakTest : public testing_support::GameTest {};

TEST_F(SoakTest, EveryGameEndsAndTheTablesStayConsistent) {
  constexpr std::int64_t roundBound = 400;
  const int runs = soakRuns();
  std::int64_t games = 0, events = 0;
  std::vector<std::int64_t> rounds;
  for (int run = 1; run <= runs; ++run) {
    SCOPED_TRACE("seed " + std::to_string(run));
    headless::reset();
    headless::seed(static_cast<std::uint64_t>(run));
    testing_support::RandomPlayer player(static_cast<std::uint64_t>(run) * 7919);
    player.install();
    int exitCode = -1;
    ASSERT_NO_THROW(exitCode = flow::runProgram());
    ASSERT_EQ(exitCode, 0);
    ASSERT_EQ(player.violation(), "");
    ASSERT_LE(player.longestGame(), roundBound);
    ASSERT_GE(player.gamesStarted(), 1);
    games += player.gamesStarted();
    events += player.eventsSent();
    rounds.push_back(player.longestGame());
  }
  std::sort(rounds.begin(), rounds.end());
  std::printf("soak: %d programs, %lld games, %lld events, longest game per program: median %lld, "
              "max %lld rounds\n",
              runs, static_cast<long long>(games), static_cast<long long>(events),
              static_cast<long long>(rounds[rounds.size() / 2]),
              static_cast<long long>(rounds.back()));
}

}  // namespace
