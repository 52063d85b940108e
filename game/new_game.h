// Setting up a game: players, a random board drawn tile by tile, the turn order.
#pragma once

namespace game {

void newGame();
void generateBoard();

}  // namespace game
