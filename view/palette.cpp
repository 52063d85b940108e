// The Palette: every colour the game draws with, filled once at start-up.
#include "view/palette.h"

#include "game/tables.h"

namespace view {

namespace {

struct Entry {
  std::int64_t index;
  std::int64_t red, green, blue;
};

constexpr Entry entries[] = {
    {1, 185, 15, 0},     {2, 90, 100, 10},    {3, 30, 30, 180},    {4, 0, 0, 0},
    {5, 255, 255, 255},  {6, 255, 255, 0},    {7, 255, 0, 0},      {8, 80, 80, 80},
    {10, 180, 180, 200}, {13, 140, 0, 140},   {14, 30, 0, 30},     {22, 140, 110, 20},
    {23, 90, 60, 20},    {24, 200, 175, 250}, {25, 200, 130, 130}, {26, 30, 150, 190},
    {27, 180, 60, 180},  {28, 160, 160, 60},
};

}  // namespace

void initPalette() {
  for (const Entry& e : entries) {
    game::palette[e.index] = e.red | (e.green << 8) | (e.blue << 16);
  }
}

std::int64_t colour(std::int64_t index) { return game::palette[index]; }

}  // namespace view
