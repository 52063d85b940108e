// What was drawn step by step equals a fresh drawing from the tables: no change went undrawn.
#include <gtest/gtest.h>

#include "flow/game_loop.h"
#include "game/tables.h"
#include "support/fixture.h"
#include "support/random_player.h"
#include "support/redraw.h"
#include "view/palette.h"

namespace {

struct StopHere {};

class RedrawTest : public testing_support::GameTest {};

TEST_F(RedrawTest, IncrementalScreenEqualsARedrawFromTheTables) {
  for (std::uint64_t seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    headless::reset();
    headless::seed(seed);
    testing_support::RandomPlayer player(seed * 31);
    const std::int64_t stopRound = 2 + static_cast<std::int64_t>(seed % 4);
    bool inHumanTurn = false;
    headless::setIdleHook([&player, &inHumanTurn, stopRound] {
      const auto& state = game::gameState;
      // The human turn has begun once YOU's box was drawn active.
      const auto& last = headless::texts().back();
      if (game::turnOrder[state.currentSlot] != game::human) {
        inHumanTurn = false;
      } else if (last.text.rfind("YOU  (", 0) == 0 &&
                 last.colour == game::palette[view::colourYellow]) {
        inHumanTurn = true;
      }
      if (inHumanTurn && state.result == 0 && state.turnNumber >= stopRound) throw StopHere{};
      player.onIdle();
    });
    try {
      flow::runProgram();
    } catch (const StopHere&) {
      const auto incremental = headless::screenCopy();
      testing_support::redrawFromTables(true);
      EXPECT_EQ(testing_support::firstDifference(incremental, headless::screenCopy()), "");
      continue;
    }
    // The game ended before the stop round (an abort or an early win): nothing to compare.
  }
}

}  // namespace
