// The computer players: scoring every move, choosing the best, carrying it out.
#pragma once

#include <cstdint>

namespace game {

// Scores every land cell for the player and fills the CandidateList with the
// affordable moves.
void scoreMoves(std::int64_t player);

// The number of the chosen CandidateList entry, 0 for a pass.
std::int64_t chooseMove();

// One move (or the pass) of a computer player; advances currentSlot when its turn is over.
void computerMove(std::int64_t player);

}  // namespace game
