// Shared test fixture.
#include "support/fixture.h"

#include <numeric>

#include "flow/input.h"
#include "game/tables.h"
#include "platform/common/backend.h"
#include "view/palette.h"
#include "view/resources.h"

namespace testing_support {

std::uint32_t rgb(std::int64_t paletteIndex) {
  const auto c = static_cast<std::uint32_t>(game::palette[paletteIndex]);
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

std::vector<std::string> messages() {
  std::vector<std::string> found;
  for (const auto& t : headless::texts()) {
    if (t.target == platform::screen && t.y == 690 &&
        t.colour == game::palette[view::colourYellow]) {
      found.push_back(t.text);
    }
  }
  return found;
}

std::string lastMessage() {
  const auto all = messages();
  return all.empty() ? std::string() : all.back();
}

std::int64_t messageTimeUs(const std::string& text) {
  std::int64_t when = -1;
  for (const auto& t : headless::texts()) {
    if (t.y == 690 && t.colour == game::palette[view::colourYellow] && t.text == text) {
      when = t.timeUs;
    }
  }
  return when;
}

std::int64_t sleptMs() {
  const auto& s = headless::sleeps();
  return std::accumulate(s.begin(), s.end(), std::int64_t{0});
}

void GameTest::SetUp() {
  headless::reset();
  game::resetTables();
  flow::resetInput();
  view::initPalette();
  // A whole program run releases fonts and images at its end; load them again then.
  if (platform::backend::imageWidth(view::imageBackdrop) == 0) {
    view::loadFonts();
    view::prepareImages();
  }
  headless::reset();
}

}  // namespace testing_support
