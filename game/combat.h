// Rules every attack shares: the combat roll, conquest, elimination and the city count.
#pragma once

#include <cstdint>

namespace game {

// Flashes the cell and rolls; 1 when the attack succeeds. A failure lowers the
// cell's defence by 20; the owner is never changed here.
std::int64_t resolveAttack(std::int64_t column, std::int64_t row);

// The conqueror takes the cell: owner, roundsOwned 0, no fort, no city; the rest stays.
void conquer(std::int64_t column, std::int64_t row, std::int64_t attacker);

// Announces and marks players left without a cell; sets the result when one is left.
void checkEliminations();

// Cities owned by the player in the playing area.
std::int64_t countCities(std::int64_t player);

}  // namespace game
