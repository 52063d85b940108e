// The program: start-up, the loop of games, shut-down.
#pragma once

namespace flow {

// Runs the whole program; always returns the exit code 0.
int runProgram();

// One game from the information prompt to the restart prompt; true when the
// player asks for another.
bool playGame();

// The turn loop of a running game, until result is positive.
void runTurnLoop();

// Releases the platform resources in their order: input devices, Screen, display, window,
// images, fonts.
void closePlatform();

}  // namespace flow
