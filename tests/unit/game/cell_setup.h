// Test helpers for the rules: placing land cells on the Board and reading a cell's marks off the
// Screen.
#pragma once

#include <cstdint>
#include <vector>

#include "game/tables.h"
#include "platform/headless/headless.h"

namespace cell_setup {

struct Spot {
  std::int64_t column = 0;
  std::int64_t row = 0;
  std::int64_t owner = 0;
  std::int64_t roundsOwned = 1;  // only for an owned cell
  std::int64_t fort = 0;
  std::int64_t city = 0;
  std::int64_t goldMine = 0;
  std::int64_t defence = 60;
};

// A land cell with the income its buildings give.
inline void place(const Spot& spot) {
  game::Cell& cell = game::board[spot.column][spot.row];
  cell.terrain = 14;
  cell.owner = spot.owner;
  cell.roundsOwned = spot.owner > 0 ? spot.roundsOwned : 0;
  cell.fort = spot.fort;
  cell.city = spot.city;
  cell.goldMine = spot.goldMine;
  cell.income = spot.goldMine == 1 ? 4 : 1 + spot.city;
  cell.defence = spot.defence;
}

inline void place(const std::vector<Spot>& spots) {
  for (const Spot& spot : spots) place(spot);
}

// The pixels of a cell's owner and building marks, where every change of the cell shows.
inline std::vector<std::uint32_t> markArea(std::int64_t column, std::int64_t row) {
  const std::int64_t x0 = 95 * column - 68 + 20;
  const std::int64_t y0 = 95 * row - 83 + 30;
  std::vector<std::uint32_t> pixels;
  for (std::int64_t y = y0; y < y0 + 35; ++y) {
    for (std::int64_t x = x0; x < x0 + 55; ++x) pixels.push_back(headless::pixel(x, y));
  }
  return pixels;
}

}  // namespace cell_setup
