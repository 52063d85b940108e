// Whole games in virtual time: the human ends every turn with Done (and in some seeds attacks first).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "flow/game_loop.h"
#include "game/tables.h"
#include "support/fixture.h"
#include "support/invariants.h"

namespace {

constexpr std::int64_t doneX = 1150, doneY = 660;

struct Outcome {
  std::int64_t result = 0;
  std::int64_t rounds = 0;
  std::int64_t winnerSlot = 0;
  std::string violation;
};

// Plays one program of one game; the human attacks a random cell with an army
// before pressing Done when `attacks` is set.
Outcome playOneGame(std::uint64_t seed, bool attacks) {
  headless::reset();
  headless::seed(seed);
  std::mt19937_64 random(seed);
  Outcome outcome;
  headless::setIdleHook([&] {
    const auto& state = game::gameState;
    if (outcome.violation.empty() && game::turnOrder[5] == 5) {
      outcome.violation = testing_support::tableViolations();
    }
    const auto& texts = headless::texts();
    const std::string last = texts.empty() ? std::string() : texts.back().text;
    if (last == "Information gewuenscht ? <j>/<n>" || last == "Neustart ? <J>/<N>") {
      headless::pushKey(78);
    } else if (last == "Jetzt geht's los <Taste druecken>" || last.rfind("Sieger ist", 0) == 0) {
      if (last.rfind("Sieger ist", 0) == 0) {
        outcome.result = state.result;
        outcome.rounds = state.turnNumber;
        outcome.winnerSlot = game::players[state.result - 3].turnSlot;
      }
      headless::pushKey(32);
    } else if (game::turnOrder[state.currentSlot] == game::human && state.result == 0) {
      if (attacks && state.selectedAction != game::actionArmy) {
        headless::pushKey(65);
      } else if (attacks && random() % 3 != 0) {
        const auto column = static_cast<std::int64_t>(random() % 11) + 1;
        const auto row = static_cast<std::int64_t>(random() % 7) + 1;
        headless::pushClick(95 * column - 21, 95 * row - 36);
      } else {
        headless::pushClick(doneX, doneY);
      }
    } else {
      headless::pushKey(32);
    }
  });
  EXPECT_EQ(flow::runProgram(), 0);
  return outcome;
}

class WholeGameTest : public testing_support::GameTest {};

TEST_F(WholeGameTest, GamesRunToAWinnerWithConsistentTables) {
  const char* text = std::getenv("TERRANOX_WHOLE_GAMES");
  const int count = text ? std::atoi(text) : 40;
  std::vector<std::int64_t> rounds;
  std::int64_t winsBySlot[5] = {};
  for (int seed = 1; seed <= count; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    const Outcome outcome = playOneGame(static_cast<std::uint64_t>(seed), seed % 2 == 0);
    ASSERT_EQ(outcome.violation, "");
    ASSERT_GE(outcome.result, 4);
    ASSERT_LE(outcome.result, 7);
    // The winner was never eliminated.
    ASSERT_GE(outcome.winnerSlot, 1);
    ASSERT_LE(outcome.winnerSlot, 4);
    ASSERT_LT(outcome.rounds, 2000);
    rounds.push_back(outcome.rounds);
    ++winsBySlot[outcome.winnerSlot];
  }
  std::sort(rounds.begin(), rounds.end());
  std::printf("whole games: %d, rounds median %lld, 95th percentile %lld, max %lld; wins by slot "
              "1..4: %lld %lld %lld %lld\n",
              count, static_cast<long long>(rounds[rounds.size() / 2]),
              static_cast<long long>(rounds[rounds.size() * 95 / 100]),
              static_cast<long long>(rounds.back()), static_cast<long long>(winsBySlot[1]),
              static_cast<long long>(winsBySlot[2]), static_cast<long long>(winsBySlot[3]),
              static_cast<long long>(winsBySlot[4]));
}

}  // namespace
