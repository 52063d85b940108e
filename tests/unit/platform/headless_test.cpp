// Tests of the headless back end: pacing, chance, the event script, the dry rule, Screen dumps.
#include "platform/headless/headless.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "platform/common/backend.h"
#include "platform/platform.h"

namespace {

using platform::EventKind;

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::reset(); }
};

// Draws one box on the Screen, as every drawing routine of the game does.
void drawBox(std::int64_t x, std::int64_t y, platform::Colour colour) {
  platform::beginDraw(platform::screen);
  platform::fillBox(x, y, 10, 10, colour);
  platform::endDraw();
}

// Polls until the back end ends the script, sleeping like a waiting loop; returns the polls made.
std::int64_t pollsUntilEnded(bool drawBetweenPolls, std::int64_t maxPolls) {
  platform::Event event;
  for (std::int64_t polls = 1; polls <= maxPolls; ++polls) {
    try {
      platform::pollEvent(event);
    } catch (const headless::ScriptEnded&) {
      return polls;
    }
    if (drawBetweenPolls) drawBox(0, 0, 0x0000FF);
    platform::sleepMs(5);
  }
  return -1;
}

TEST_F(HeadlessTest, PresentsInARowArePacedOneFrameApart) {
  platform::present();
  platform::present();
  platform::present();
  EXPECT_EQ(headless::presentTimesUs(), (std::vector<std::int64_t>{0, 19608, 39216}));
  EXPECT_EQ(headless::presentCount(), 3);
  EXPECT_EQ(headless::nowUs(), 39216);
}

TEST_F(HeadlessTest, PresentWaitsOnlyForWhatIsLeftOfTheFrame) {
  struct Case {
    std::int64_t sleptMs, secondPresentUs;
  };
  for (const Case c :
       {Case{0, 19608}, Case{10, 19608}, Case{19, 19608}, Case{20, 20000}, Case{100, 100000}}) {
    SCOPED_TRACE(c.sleptMs);
    headless::reset();
    platform::present();
    platform::sleepMs(c.sleptMs);
    platform::present();
    ASSERT_EQ(headless::presentCount(), 2);
    EXPECT_EQ(headless::presentTimesUs()[1], c.secondPresentUs);
  }
}

TEST_F(HeadlessTest, FirstPresentDoesNotWaitEvenAfterReset) {
  platform::present();
  headless::reset();
  platform::sleepMs(3);
  platform::present();
  EXPECT_EQ(headless::presentTimesUs(), std::vector<std::int64_t>{3000});
}

TEST_F(HeadlessTest, PacingFollowsTheFrameRate) {
  platform::setFrameRate(24);  // more than 1/25 s between presents
  platform::present();
  platform::present();
  EXPECT_EQ(headless::presentTimesUs()[1], 40001);
}

TEST_F(HeadlessTest, PresentLeavesTheScreenAsItIs) {
  drawBox(30, 40, 0x00FF00);
  const auto before = headless::screenCopy();
  platform::present();
  EXPECT_EQ(headless::screenCopy(), before);
  EXPECT_EQ(headless::pixel(35, 45), 0x00FF00u);
}

TEST_F(HeadlessTest, SleepsAdvanceTheClockAndAreRecorded) {
  platform::sleepMs(5);
  platform::sleepMs(1250);
  EXPECT_EQ(headless::nowUs(), 1'255'000);
  EXPECT_EQ(headless::nowMs(), 1255);
  EXPECT_EQ(headless::sleeps(), (std::vector<std::int64_t>{5, 1250}));
}

TEST_F(HeadlessTest, TextsAreRecordedWithTheirTime) {
  platform::sleepMs(30);
  platform::backend::noteText(platform::screen, 12, 690, "Army: ANGRIFF !!!", 0x00FFFF);
  platform::backend::noteText(102, 40, 8, "Done", 0x00FFFF);
  const auto& t = headless::texts();
  ASSERT_EQ(t.size(), 2u);
  EXPECT_EQ(t[0].text, "Army: ANGRIFF !!!");
  EXPECT_EQ(t[0].x, 12);
  EXPECT_EQ(t[0].y, 690);
  EXPECT_EQ(t[0].colour, 0x00FFFF);
  EXPECT_EQ(t[0].target, platform::screen);
  EXPECT_EQ(t[0].timeUs, 30000);
  EXPECT_EQ(t[1].target, 102);
}

TEST_F(HeadlessTest, ClearRecordsKeepsTheClockAndThePacing) {
  platform::sleepMs(7);
  platform::present();
  platform::backend::noteText(platform::screen, 0, 0, "x", 0);
  headless::clearRecords();
  EXPECT_TRUE(headless::sleeps().empty());
  EXPECT_TRUE(headless::texts().empty());
  EXPECT_EQ(headless::presentCount(), 0);
  EXPECT_EQ(headless::nowUs(), 7000);
  platform::present();
  EXPECT_EQ(headless::presentTimesUs(), std::vector<std::int64_t>{7000 + 19608});
}

TEST_F(HeadlessTest, ForcedDrawsComeFirstThenTheSeededSource) {
  headless::seed(7);
  std::vector<std::int64_t> unforced;
  for (int i = 0; i < 5; ++i) unforced.push_back(platform::randomNumber(0, 100));

  headless::reset();
  headless::seed(7);
  headless::forceDraws({3, 1});
  headless::forceDraws({6});
  EXPECT_EQ(headless::forcedDrawsLeft(), 3u);
  EXPECT_EQ(platform::randomNumber(1, 6), 3);
  EXPECT_EQ(platform::randomNumber(1, 6), 1);
  EXPECT_EQ(platform::randomNumber(1, 6), 6);
  EXPECT_EQ(headless::forcedDrawsLeft(), 0u);
  std::vector<std::int64_t> afterForced;
  for (int i = 0; i < 5; ++i) afterForced.push_back(platform::randomNumber(0, 100));
  // Forced values do not consume the source.
  EXPECT_EQ(afterForced, unforced);
  EXPECT_EQ(headless::drawCount(), 8);
}

TEST_F(HeadlessTest, DrawsAreReproducibleAfterResetAndDependOnTheSeed) {
  auto sequence = [] {
    std::vector<std::int64_t> values;
    for (int i = 0; i < 20; ++i) values.push_back(platform::randomNumber(1, 100));
    return values;
  };
  const auto first = sequence();
  headless::reset();
  EXPECT_EQ(sequence(), first);
  headless::seed(12345);
  EXPECT_NE(sequence(), first);
}

TEST_F(HeadlessTest, DrawsCoverTheWholeRangeAndNothingElse) {
  struct Case {
    std::int64_t min, max;
  };
  for (const Case c : {Case{1, 6}, Case{0, 18}, Case{5, 5}}) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max);
    std::set<std::int64_t> seen;
    for (int i = 0; i < 1000; ++i) seen.insert(platform::randomNumber(c.min, c.max));
    EXPECT_EQ(static_cast<std::int64_t>(seen.size()), c.max - c.min + 1);
    EXPECT_EQ(*seen.begin(), c.min);
    EXPECT_EQ(*seen.rbegin(), c.max);
  }
}

TEST(HeadlessDeathTest, ForcedDrawOutsideTheRangeAborts) {
  headless::reset();
  headless::forceDraws({7});
  EXPECT_DEATH(platform::randomNumber(1, 6), "forced draw 7 lies outside randomNumber\\(1, 6\\)");
}

TEST_F(HeadlessTest, ClickMovesTheCursorWhenItsMoveIsTaken) {
  for (const bool right : {false, true}) {
    SCOPED_TRACE(right);
    headless::reset();
    headless::setCursor(5, 6);
    headless::pushClick(100, 200, right);
    headless::pushKey(65);
    EXPECT_EQ(headless::eventsLeft(), 3u);
    EXPECT_EQ(platform::mouseX(), 5);
    EXPECT_EQ(platform::mouseY(), 6);

    platform::Event event;
    ASSERT_TRUE(platform::pollEvent(event));
    EXPECT_EQ(event.kind, EventKind::other);
    EXPECT_EQ(platform::mouseX(), 100);
    EXPECT_EQ(platform::mouseY(), 200);

    ASSERT_TRUE(platform::pollEvent(event));
    EXPECT_EQ(event.kind, right ? EventKind::rightPressed : EventKind::leftPressed);

    ASSERT_TRUE(platform::pollEvent(event));
    EXPECT_EQ(event.kind, EventKind::keyReleased);
    EXPECT_EQ(event.key, 65);
    EXPECT_EQ(platform::eventKey(), 65);

    EXPECT_FALSE(platform::pollEvent(event));
    EXPECT_EQ(headless::eventsLeft(), 0u);
    EXPECT_EQ(platform::mouseX(), 100);
  }
}

TEST_F(HeadlessTest, MaximiseAndRestoreSetTheClientSizeWhenTaken) {
  headless::setClientSize(800, 600);
  headless::pushMaximise(1920, 1050);
  headless::pushRestore();
  EXPECT_EQ(platform::windowWidth(), 800);

  platform::Event event;
  ASSERT_TRUE(platform::pollEvent(event));
  EXPECT_EQ(event.kind, EventKind::maximised);
  EXPECT_EQ(platform::windowWidth(), 1920);
  EXPECT_EQ(platform::windowHeight(), 1050);

  ASSERT_TRUE(platform::pollEvent(event));
  EXPECT_EQ(event.kind, EventKind::restored);
  EXPECT_EQ(platform::windowWidth(), 1280);
  EXPECT_EQ(platform::windowHeight(), 720);
}

TEST_F(HeadlessTest, WaitingWithNothingScriptedEndsTheScript) {
  headless::setDryLimit(10);
  EXPECT_EQ(pollsUntilEnded(false, 100), 11);
  headless::reset();
  EXPECT_EQ(pollsUntilEnded(false, 1000), 401);
}

TEST_F(HeadlessTest, DrawingBetweenPollsKeepsTheScriptAlive) {
  headless::setDryLimit(10);
  EXPECT_EQ(pollsUntilEnded(true, 100), -1);
}

TEST_F(HeadlessTest, TakingAnEventStartsTheDryCountAgain) {
  headless::setDryLimit(10);
  platform::Event event;
  for (int i = 0; i < 10; ++i) ASSERT_FALSE(platform::pollEvent(event));
  headless::pushKey(27);
  ASSERT_TRUE(platform::pollEvent(event));
  EXPECT_EQ(pollsUntilEnded(false, 100), 11);
}

TEST_F(HeadlessTest, IdleHookRunsOncePerEmptyPollAndMayFeedTheScript) {
  int calls = 0;
  headless::setIdleHook([&calls] {
    ++calls;
    if (calls == 2) headless::pushKey(13);
  });
  headless::pushKey(27);
  platform::Event event;
  ASSERT_TRUE(platform::pollEvent(event));  // queued: the hook is not asked
  EXPECT_EQ(calls, 0);
  EXPECT_FALSE(platform::pollEvent(event));
  EXPECT_EQ(calls, 1);
  ASSERT_TRUE(platform::pollEvent(event));
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(event.key, 13);
}

TEST_F(HeadlessTest, IdleHookMayReplaceItself) {
  headless::setIdleHook([] {
    headless::setIdleHook(nullptr);
    headless::pushKey(13);
  });
  platform::Event event;
  ASSERT_TRUE(platform::pollEvent(event));
  EXPECT_EQ(event.key, 13);
  EXPECT_FALSE(platform::pollEvent(event));
}

TEST_F(HeadlessTest, PixelOutsideTheScreenIsBlack) {
  platform::clearScreen(0xFFFFFF);
  EXPECT_EQ(headless::pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(headless::pixel(1279, 719), 0xFFFFFFu);
  for (const auto& [x, y] : std::vector<std::pair<std::int64_t, std::int64_t>>{
           {-1, 0}, {0, -1}, {1280, 0}, {0, 720}, {1280, 720}}) {
    EXPECT_EQ(headless::pixel(x, y), 0u) << x << ", " << y;
  }
}

TEST_F(HeadlessTest, DumpScreenWritesAnRgbPngOfTheScreen) {
  drawBox(100, 50, 0x0000FF);  // red, as the Palette writes it
  const auto path = std::filesystem::path(testing::TempDir()) / "headless_dump.png";
  ASSERT_TRUE(headless::dumpScreen(path.string()));

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_NE(png_image_begin_read_from_file(&image, path.c_str()), 0) << image.message;
  EXPECT_EQ(image.width, 1280u);
  EXPECT_EQ(image.height, 720u);
  EXPECT_EQ(image.format & PNG_FORMAT_FLAG_ALPHA, 0u);
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_NE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr), 0);
  auto at = [&rgb](std::size_t x, std::size_t y) {
    const std::size_t i = (y * 1280 + x) * 3;
    return std::vector<int>{rgb[i], rgb[i + 1], rgb[i + 2]};
  };
  EXPECT_EQ(at(105, 55), (std::vector<int>{255, 0, 0}));
  EXPECT_EQ(at(99, 55), (std::vector<int>{0, 0, 0}));
  std::filesystem::remove(path);
}

TEST_F(HeadlessTest, DumpScreenReportsAPathItCannotWrite) {
  EXPECT_FALSE(headless::dumpScreen("/nonexistent-directory/screen.png"));
}

TEST_F(HeadlessTest, StartUpChecksFailOneAtATime) {
  struct Case {
    int failing;
    bool display, keyboard, mouse;
  };
  for (const Case c :
       {Case{1, false, true, true}, Case{2, true, false, true}, Case{3, true, true, false}}) {
    SCOPED_TRACE(c.failing);
    headless::reset();
    EXPECT_TRUE(platform::openDisplaySystem() && platform::openKeyboard() && platform::openMouse());
    headless::failCheck(c.failing);
    EXPECT_EQ(platform::openDisplaySystem(), c.display);
    EXPECT_EQ(platform::openKeyboard(), c.keyboard);
    EXPECT_EQ(platform::openMouse(), c.mouse);
  }
}

TEST_F(HeadlessTest, WindowLifecycleAndErrorsAreRecorded) {
  EXPECT_FALSE(headless::windowOpened());
  ASSERT_TRUE(platform::openWindow("TERRANOX", 1280, 720));
  EXPECT_TRUE(headless::windowOpened());
  EXPECT_TRUE(headless::windowOpen());
  EXPECT_EQ(headless::windowTitle(), "TERRANOX");

  platform::closeKeyboard();
  platform::closeMouse();
  platform::closeScreen();
  platform::closeWindow();
  platform::closeDisplaySystem();
  EXPECT_TRUE(headless::windowOpened());
  EXPECT_FALSE(headless::windowOpen());
  EXPECT_EQ(headless::shutdownLog(),
            (std::vector<std::string>{"closeKeyboard", "closeMouse", "closeScreen", "closeWindow",
                                      "closeDisplaySystem"}));

  platform::showError("Fehler", "Tastatur nicht verfügbar");
  ASSERT_EQ(headless::errors().size(), 1u);
  EXPECT_EQ(headless::errors()[0].title, "Fehler");
  EXPECT_EQ(headless::errors()[0].text, "Tastatur nicht verfügbar");
}

TEST_F(HeadlessTest, ResetRestoresEveryPartOfTheFreshState) {
  headless::pushKey(65);
  headless::setCursor(9, 9);
  headless::setClientSize(300, 200);
  headless::setDryLimit(3);
  int hookCalls = 0;
  headless::setIdleHook([&hookCalls] { ++hookCalls; });
  headless::forceDraws({1});
  platform::randomNumber(0, 5);
  headless::forceDraws({2});
  headless::failCheck(2);
  platform::openWindow("TERRANOX", 1280, 720);
  platform::closeMouse();
  platform::showError("Fehler", "x");
  platform::setFrameRate(1);
  platform::sleepMs(40);
  platform::present();
  platform::clearScreen(0xFFFFFF);

  headless::reset();
  EXPECT_EQ(headless::eventsLeft(), 0u);
  EXPECT_EQ(platform::mouseX(), 0);
  EXPECT_EQ(platform::mouseY(), 0);
  EXPECT_EQ(platform::windowWidth(), 1280);
  EXPECT_EQ(platform::windowHeight(), 720);
  EXPECT_EQ(headless::nowUs(), 0);
  EXPECT_EQ(headless::presentCount(), 0);
  EXPECT_TRUE(headless::sleeps().empty());
  EXPECT_EQ(headless::forcedDrawsLeft(), 0u);
  EXPECT_EQ(headless::drawCount(), 0);
  EXPECT_TRUE(platform::openKeyboard());
  EXPECT_FALSE(headless::windowOpened());
  EXPECT_EQ(headless::windowTitle(), "");
  EXPECT_TRUE(headless::shutdownLog().empty());
  EXPECT_TRUE(headless::errors().empty());
  EXPECT_EQ(headless::pixel(640, 360), 0u);
  EXPECT_TRUE(platform::backend::takeChangedRect().empty());

  platform::present();
  platform::present();
  EXPECT_EQ(headless::presentTimesUs()[1], 19608);  // the frame rate is back to 50
  EXPECT_EQ(pollsUntilEnded(false, 1000), 401);     // the limit is back too
  EXPECT_EQ(hookCalls, 0);
}

}  // namespace
