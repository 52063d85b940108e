// Drawing the play screen afresh from the tables.
#include "support/redraw.h"

#include "game/tables.h"
#include "platform/platform.h"
#include "view/board.h"
#include "view/panel.h"

namespace testing_support {

void redrawFromTables(bool humanActive) {
  view::drawBoard();
  for (std::int64_t c = 1; c <= game::playColumns; ++c) {
    for (std::int64_t r = 1; r <= game::playRows; ++r) {
      if (!game::isWater(c, r)) view::drawCell(c, r);
    }
  }
  for (std::int64_t slot = 1; slot <= 4; ++slot) {
    const std::int64_t player = game::turnOrder[slot];
    const bool active = humanActive && player == game::human;
    view::drawPlayerBox(player, active ? view::playerActive : view::playerWaiting);
  }
  view::drawTurnNumber();
}

std::string firstDifference(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
  struct Region {
    std::int64_t x, y, width, height;
  };
  static constexpr Region regions[] = {
      {0, 0, 1100, 688}, {1100, 0, 180, 203}, {1100, 580, 180, 50}};
  for (const Region& region : regions) {
    for (std::int64_t y = region.y; y < region.y + region.height; ++y) {
      for (std::int64_t x = region.x; x < region.x + region.width; ++x) {
        const auto i = static_cast<std::size_t>(y * platform::screenWidth + x);
        if (a[i] != b[i]) return std::to_string(x) + "," + std::to_string(y);
      }
    }
  }
  return {};
}

}  // namespace testing_support
