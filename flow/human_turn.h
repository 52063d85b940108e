// The human player's turn: choosing actions, acting on the board, Done.
#pragma once

namespace flow {

void humanTurn();

}  // namespace flow
