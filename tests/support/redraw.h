// Drawing the board and side panel afresh from the tables, to compare with what was drawn step by step.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Clears the Screen and draws the play screen from the tables alone: the empty
// board, every land cell, the player boxes (the human's as active when
// `humanActive`, the others waiting) and the turn number.
void redrawFromTables(bool humanActive);

// The first differing pixel of two Screen copies inside the board, the player
// boxes and the turn-number box, as "x,y"; empty when they agree there.
std::string firstDifference(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b);

}  // namespace testing_support
