// Fuzz target: the input bytes become window events and cursor positions for a whole program run.
#include <cstddef>
#include <cstdint>

#include "flow/game_loop.h"
#include "flow/input.h"
#include "game/tables.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "view/palette.h"
#include "view/resources.h"

namespace {

using platform::EventKind;

constexpr std::int64_t keys[] = {27, 37, 38, 39, 40, 65, 74, 78, 83, 89, 32, 13, 48, 90, 112, 121};

// Two bytes per event: the kind, then its parameter.
void script(const std::uint8_t* data, std::size_t size) {
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    const std::uint8_t p = data[i + 1];
    switch (data[i] % 11) {
      case 0:
      case 1:
        headless::pushKey(keys[p % std::size(keys)]);
        break;
      case 2:
        headless::pushMove(p * 9 - 40, (p * 37) % 760 - 20);
        break;
      case 3:
        headless::pushEvent(EventKind::leftPressed);
        break;
      case 4:
        headless::pushEvent(EventKind::rightPressed);
        break;
      case 5:
        headless::pushEvent(EventKind::closeRequested);
        break;
      case 6:
        headless::pushEvent(EventKind::minimised);
        break;
      case 7:
        headless::pushMaximise(1280 + p * 5, 720 + p * 3);
        break;
      case 8:
        headless::pushRestore();
        break;
      case 9:
        headless::setClientSize(p, p / 2);  // a size read while minimised may be 0
        headless::pushEvent(EventKind::resized);
        break;
      default:
        headless::pushClick(1100 + p % 180, 371 + p % 317);
        break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Fonts and pictures are made once, as at start-up; each input then plays the loop of games.
  headless::reset();
  view::loadFonts();
  platform::openDisplaySystem();
  platform::openWindow("TERRANOX", platform::screenWidth, platform::screenHeight);
  platform::openScreen();
  view::initPalette();
  view::prepareImages();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  headless::reset();
  std::uint64_t seed = 0;
  for (std::size_t i = 0; i < size && i < 8; ++i) seed = seed << 8 | data[i];
  headless::seed(seed);
  headless::setDryLimit(50);
  game::resetTables();
  view::initPalette();
  flow::resetInput();
  if (size > 8) script(data + 8, size - 8);
  try {
    while (flow::playGame()) {
    }
  } catch (const headless::ScriptEnded&) {
    // The input ran out while the game waited for more: a normal end of a run.
  }
  return 0;
}
