// The entry point of the game executable.
#include "flow/game_loop.h"

int main() { return flow::runProgram(); }
