// Input mapping: events to codes in both modes, the side-panel regions, waiting for a key.
#include <gtest/gtest.h>

#include "flow/input.h"
#include "game/tables.h"
#include "support/fixture.h"

namespace {

using platform::EventKind;

class InputTest : public testing_support::GameTest {
 protected:
  // Takes one scripted event through the back end, as the game does, and maps it.
  void takeAndHandle(std::int64_t mode) {
    platform::Event event;
    ASSERT_TRUE(platform::pollEvent(event));
    flow::handleEvent(mode, event);
  }
};

struct EventCase {
  const char* name;
  EventKind kind;
  std::int64_t key;
  std::int64_t mode;
  std::int64_t panelCode;
  std::int64_t selectedAction;
  std::int64_t keyCode;  // expected afterwards
  std::int64_t result;
  std::int64_t autoAttack;
  std::int64_t clientWidth;
  std::int64_t clientHeight;
};

TEST_F(InputTest, EventsMapToCodesAndStateInBothModes) {
  // Before each case the client is recorded as 1280 x 720 and the window reports 1920 x 1050.
  const EventCase cases[] = {
      {"close keep", EventKind::closeRequested, 0, 2, 9, 5, 0, 9, 0, 1280, 720},
      {"close drop", EventKind::closeRequested, 0, 1, 9, 5, 0, 9, 0, 1280, 720},
      {"minimise", EventKind::minimised, 0, 2, 9, 0, 0, 0, 0, 1280, 720},
      {"maximise keep", EventKind::maximised, 0, 2, 9, 0, 0, 0, 0, 1920, 1050},
      {"maximise drop", EventKind::maximised, 0, 1, 9, 0, 0, 0, 0, 1920, 1050},
      {"restore", EventKind::restored, 0, 2, 9, 0, 0, 0, 0, 1280, 720},
      {"forced resize", EventKind::resized, 0, 2, 9, 0, 0, 0, 0, 1920, 1050},
      {"left board keep", EventKind::leftPressed, 0, 2, 9, 5, 999, 0, 0, 1280, 720},
      {"left board drop", EventKind::leftPressed, 0, 1, 9, 5, 0, 0, 0, 1280, 720},
      {"left panel button", EventKind::leftPressed, 0, 2, 3, 0, 993, 0, 0, 1280, 720},
      {"left done", EventKind::leftPressed, 0, 2, 8, 2, 998, 0, 0, 1280, 720},
      {"left panel gap", EventKind::leftPressed, 0, 2, 0, 2, 990, 0, 0, 1280, 720},
      {"right board army", EventKind::rightPressed, 0, 2, 9, 5, 999, 0, 1, 1280, 720},
      {"right board navy", EventKind::rightPressed, 0, 2, 9, 3, 999, 0, 1, 1280, 720},
      {"right board fort", EventKind::rightPressed, 0, 2, 9, 4, 999, 0, 0, 1280, 720},
      {"right board city", EventKind::rightPressed, 0, 2, 9, 2, 999, 0, 0, 1280, 720},
      {"right board none", EventKind::rightPressed, 0, 2, 9, 0, 999, 0, 0, 1280, 720},
      {"right panel army", EventKind::rightPressed, 0, 2, 5, 5, 995, 0, 0, 1280, 720},
      {"right board drop", EventKind::rightPressed, 0, 1, 9, 5, 0, 0, 0, 1280, 720},
      {"key keep", EventKind::keyReleased, 74, 2, 9, 0, 74, 0, 0, 1280, 720},
      {"key drop", EventKind::keyReleased, 65, 1, 9, 0, 0, 0, 0, 1280, 720},
      {"esc keep", EventKind::keyReleased, 27, 2, 9, 0, 27, 9, 0, 1280, 720},
      {"esc drop", EventKind::keyReleased, 27, 1, 9, 0, 0, 9, 0, 1280, 720},
      {"other", EventKind::other, 0, 2, 9, 5, 0, 0, 0, 1280, 720},
  };
  for (const EventCase& c : cases) {
    SCOPED_TRACE(c.name);
    game::gameState = game::GameState{};
    game::gameState.selectedAction = c.selectedAction;
    flow::keyCode = 0;
    flow::panelCode = c.panelCode;
    flow::clientWidth = 1280;
    flow::clientHeight = 720;
    headless::setClientSize(1920, 1050);
    headless::pushEvent(c.kind, c.key);
    takeAndHandle(c.mode);
    EXPECT_EQ(flow::keyCode, c.keyCode);
    EXPECT_EQ(game::gameState.result, c.result);
    EXPECT_EQ(game::gameState.autoAttack, c.autoAttack);
    EXPECT_EQ(flow::clientWidth, c.clientWidth);
    EXPECT_EQ(flow::clientHeight, c.clientHeight);
  }
}

TEST_F(InputTest, SizeReadWhileMinimisedKeepsTheLastValidSize) {
  flow::clientWidth = 1920;
  flow::clientHeight = 1050;
  headless::setClientSize(0, 0);
  headless::pushEvent(EventKind::maximised);
  takeAndHandle(flow::modeKeep);
  EXPECT_EQ(flow::clientWidth, 1920);
  EXPECT_EQ(flow::clientHeight, 1050);
}

TEST_F(InputTest, PanelRegionsHaveStrictBounds) {
  struct HitCase {
    std::int64_t x, y, code;
  };
  const HitCase cases[] = {
      {1099, 400, 9}, {1100, 400, 0}, {1101, 400, 2}, {0, 719, 9},    {-1, -1, 9},
      {1101, 370, 0}, {1101, 371, 2}, {1101, 419, 2}, {1101, 420, 0}, {1101, 421, 3},
      {1101, 469, 3}, {1101, 470, 0}, {1101, 471, 4}, {1101, 519, 4}, {1101, 520, 0},
      {1101, 521, 5}, {1101, 569, 5}, {1101, 570, 0}, {1101, 638, 0}, {1101, 639, 8},
      {1101, 687, 8}, {1101, 688, 0}, {5000, 650, 8}, {1279, 200, 0},
  };
  for (const HitCase& c : cases) {
    flow::cursorX = c.x;
    flow::cursorY = c.y;
    EXPECT_EQ(flow::panelHit(), c.code) << "at " << c.x << ", " << c.y;
  }
}

TEST_F(InputTest, WaitForKeyEndsOnlyOnKeyOrPress) {
  headless::pushEvent(EventKind::closeRequested);
  headless::pushEvent(EventKind::minimised);
  headless::pushMaximise(1920, 1050);
  headless::pushRestore();
  headless::pushMove(300, 300);
  headless::pushKey(78);
  headless::pushKey(74);
  flow::waitForKey();
  EXPECT_EQ(flow::keyCode, 78);
  EXPECT_EQ(game::gameState.result, game::resultAborted);
  EXPECT_EQ(headless::eventsLeft(), 1u);

  flow::keyCode = 0;
  flow::waitForKey();
  EXPECT_EQ(flow::keyCode, 74);

  flow::keyCode = 0;
  headless::pushClick(500, 300, true);
  flow::panelCode = flow::panelBoard;
  flow::waitForKey();
  EXPECT_EQ(flow::keyCode, 999);
}

TEST_F(InputTest, WaitForKeyWithoutInputWaitsOn) {
  headless::pushEvent(EventKind::closeRequested);
  EXPECT_THROW(flow::waitForKey(), headless::ScriptEnded);
  EXPECT_GT(headless::sleeps().size(), 10u);
}

TEST_F(InputTest, WaitForKeyWithACodeAlreadySetReturnsAfterOnePass) {
  flow::keyCode = 65;
  headless::pushKey(66);
  flow::waitForKey();
  EXPECT_EQ(flow::keyCode, 66);
  EXPECT_EQ(headless::eventsLeft(), 0u);

  flow::keyCode = 65;
  flow::waitForKey();
  EXPECT_EQ(flow::keyCode, 65);
  EXPECT_EQ(headless::sleeps(), std::vector<std::int64_t>{5});
}

}  // namespace
