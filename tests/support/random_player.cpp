// A random-input player for whole games on the headless back end.
#include "support/random_player.h"

#include <algorithm>

#include "game/tables.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/invariants.h"

namespace testing_support {

void RandomPlayer::install() {
  headless::setIdleHook([this] { onIdle(); });
}

std::int64_t RandomPlayer::pick(std::int64_t min, std::int64_t max) {
  return std::uniform_int_distribution<std::int64_t>(min, max)(random_);
}

void RandomPlayer::onIdle() {
  const auto& state = game::gameState;
  if (violation_.empty() && game::turnOrder[5] == 5) {
    violation_ = tableViolations();
  }
  longestGame_ = std::max(longestGame_, state.turnNumber);

  const auto& texts = headless::texts();
  const std::string& last = texts.empty() ? std::string() : texts.back().text;
  if (last == "Neustart ? <J>/<N>") {
    // Mostly end the program, now and then play another game.
    headless::pushKey(pick(0, 3) == 0 ? 74 : 78);
    ++events_;
    return;
  }
  if (last == "Jetzt geht's los <Taste druecken>" && !atStartPrompt_) {
    atStartPrompt_ = true;
    ++games_;
  } else if (last != "Jetzt geht's los <Taste druecken>") {
    atStartPrompt_ = false;
  }
  if (pick(0, 3) == 0) return;  // an idle pass now and then
  sendEvent();
}

void RandomPlayer::sendEvent() {
  using platform::EventKind;
  static constexpr std::int64_t keys[] = {65, 83, 89, 38, 40, 37, 39, 74, 78, 32, 13, 48, 90, 112};
  ++events_;
  const std::int64_t roll = pick(0, 999);
  if (roll < 2) {
    headless::pushKey(27);
  } else if (roll < 3) {
    headless::pushEvent(EventKind::closeRequested);
  } else if (roll < 8) {
    switch (pick(0, 3)) {
      case 0:
        headless::pushEvent(EventKind::minimised);
        break;
      case 1:
        headless::pushMaximise(pick(1281, 2560), pick(721, 1440));
        break;
      case 2:
        headless::pushRestore();
        break;
      default:
        headless::pushEvent(EventKind::resized);
        break;
    }
  } else if (roll < 250) {
    headless::pushKey(keys[pick(0, std::size(keys) - 1)]);
  } else if (roll < 450) {
    // Anywhere on the window, the side panel included, or outside it.
    if (pick(0, 19) == 0) {
      headless::pushMove(-1, -1);
    } else {
      headless::pushMove(pick(0, platform::windowWidth() - 1), pick(0, platform::windowHeight() - 1));
    }
  } else if (roll < 650) {
    headless::pushEvent(EventKind::leftPressed);
  } else if (roll < 750) {
    headless::pushEvent(EventKind::rightPressed);
  } else if (roll < 900) {
    headless::pushMove(pick(1101, 1279), pick(639, 687));  // over Done
  } else {
    headless::pushEvent(EventKind::other);
  }
}

}  // namespace testing_support
