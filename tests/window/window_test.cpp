// The desktop back end under a real X server with a window manager: window, picture, input, states.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "assets/embedded.h"
#include "platform/common/backend.h"
#include "platform/platform.h"
#include "x_probe.h"

namespace platform {

// Names in failure messages instead of bytes.
void PrintTo(EventKind kind, std::ostream* out) {
  static constexpr const char* names[] = {"keyReleased",    "leftPressed", "rightPressed",
                                          "minimised",      "maximised",   "restored",
                                          "closeRequested", "resized",     "other"};
  *out << names[static_cast<int>(kind)];
}

}  // namespace platform

namespace {

using platform::Event;
using platform::EventKind;
using window_testing::Geometry;
using window_testing::XProbe;
using window_testing::XWindow;

using Clock = std::chrono::steady_clock;
constexpr auto patience = std::chrono::seconds(5);

// Palette colours are 0xBBGGRR; the X server reads back 0xRRGGBB.
constexpr platform::Colour bgr(std::uint32_t rgb) {
  return static_cast<platform::Colour>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16));
}

void fill(std::int64_t x, std::int64_t y, std::int64_t w, std::int64_t h, std::uint32_t rgb) {
  platform::beginDraw(platform::screen);
  platform::fillBox(x, y, w, h, bgr(rgb));
  platform::endDraw();
}

// A picture whose edges and centre show where a stretch puts them.
void drawMarkers() {
  fill(0, 0, 10, 720, 0xFF0000);
  fill(1270, 0, 10, 720, 0x00FF00);
  fill(10, 710, 1260, 10, 0x0000FF);
  fill(600, 320, 80, 80, 0xFFFF00);
  platform::present();
}

class DesktopWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    opened = platform::openDisplaySystem() && platform::openKeyboard() && platform::openMouse() &&
             platform::openWindow("TERRANOX", 1280, 720) && platform::openScreen();
    platform::setFrameRate(50);
    probe = new XProbe;
  }

  static void TearDownTestSuite() {
    platform::closeKeyboard();
    platform::closeMouse();
    platform::closeScreen();
    platform::closeDisplaySystem();
    platform::closeWindow();
    delete probe;
    probe = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(opened);
    ASSERT_TRUE(probe->connected());
    ASSERT_TRUE(pollUntil([this] {
      client = probe->findWindow("TERRANOX");
      return client != 0 && probe->geometry(client).viewable;
    })) << "the window never became viewable";
    platform::clearScreen(0);
    platform::present();
  }

  // Takes events until `condition` holds, for at most a few seconds.
  bool pollUntil(const std::function<bool()>& condition) {
    const Clock::time_point giveUp = Clock::now() + patience;
    while (Clock::now() < giveUp) {
      if (condition()) return true;
      Event event;
      if (platform::pollEvent(event)) {
        taken.push_back(event);
        learn(event);
      } else {
        platform::sleepMs(2);
      }
    }
    return condition();
  }

  // Takes events until one of the kind arrives; every event taken is kept in `taken`.
  std::optional<Event> waitFor(EventKind kind) {
    const std::size_t start = taken.size();
    std::optional<Event> found;
    pollUntil([&] {
      for (std::size_t i = start; i < taken.size() && !found; ++i) {
        if (taken[i].kind == kind) found = taken[i];
      }
      return found.has_value();
    });
    return found;
  }

  // The key releases taken up to and including the release of K, which each
  // case below sends last so that it knows when everything before has arrived.
  std::vector<std::int64_t> releasesUntilK() {
    std::vector<std::int64_t> keys;
    const std::size_t start = taken.size();
    pollUntil([&] {
      keys.clear();
      for (std::size_t i = start; i < taken.size(); ++i) {
        if (taken[i].kind == EventKind::keyReleased) keys.push_back(taken[i].key);
      }
      return !keys.empty() && keys.back() == 'K';
    });
    return keys;
  }

  std::int64_t count(EventKind kind, std::size_t from) const {
    return std::count_if(taken.begin() + static_cast<std::ptrdiff_t>(from), taken.end(),
                         [kind](const Event& e) { return e.kind == kind; });
  }

  // The client size as the game records it from the events it takes.
  void learn(const Event& event) {
    if (event.kind == EventKind::maximised || event.kind == EventKind::resized) {
      learnedWidth = platform::windowWidth();
      learnedHeight = platform::windowHeight();
    } else if (event.kind == EventKind::restored) {
      learnedWidth = 1280;
      learnedHeight = 720;
    }
  }

  // The probes of drawMarkers' picture that the window does not show as stretched
  // over a client area of the given size.
  std::vector<std::string> markerMismatches(int w, int h) {
    struct Probe {
      int x, y;
      std::uint32_t rgb;
    };
    const Probe probes[] = {
        {1, h / 2, 0xFF0000},     {w - 2, h / 2, 0x00FF00}, {w / 2, h - 2, 0x0000FF},
        {w / 2, h / 2, 0xFFFF00}, {w / 4, h / 4, 0x000000},
    };
    std::vector<std::string> mismatches;
    for (const Probe& p : probes) {
      const std::uint32_t shown = probe->pixel(client, p.x, p.y);
      if (shown != p.rgb) {
        mismatches.push_back(std::to_string(p.x) + "," + std::to_string(p.y) + ": " +
                             std::to_string(shown) + " instead of " + std::to_string(p.rgb));
      }
    }
    return mismatches;
  }

  bool showsClientSize(int width, int height) {
    const Geometry g = probe->geometry(client);
    return g.width == width && g.height == height;
  }

  static inline bool opened = false;
  static inline XProbe* probe = nullptr;
  XWindow client = 0;
  std::vector<Event> taken;
  std::int64_t learnedWidth = 1280;
  std::int64_t learnedHeight = 720;
};

TEST_F(DesktopWindow, OpensCentredWithTitleAndClientSize) {
  EXPECT_EQ(probe->title(client), "TERRANOX");
  const Geometry g = probe->geometry(client);
  EXPECT_EQ(g.width, 1280);
  EXPECT_EQ(g.height, 720);
  EXPECT_EQ(platform::windowWidth(), 1280);
  EXPECT_EQ(platform::windowHeight(), 720);
  // The frame adds a title bar and borders; the client is centred up to those.
  EXPECT_NEAR(g.x + g.width / 2, 1920 / 2, 30);
  EXPECT_NEAR(g.y + g.height / 2, 1080 / 2, 30);
}

TEST_F(DesktopWindow, WindowManagerOffersMinimiseMaximiseAndClose) {
  const std::vector<std::string> actions = probe->atomNames(client, "_NET_WM_ALLOWED_ACTIONS");
  for (const char* action :
       {"_NET_WM_ACTION_MOVE", "_NET_WM_ACTION_MINIMIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ",
        "_NET_WM_ACTION_MAXIMIZE_VERT", "_NET_WM_ACTION_CLOSE"}) {
    EXPECT_NE(std::find(actions.begin(), actions.end(), action), actions.end()) << action;
  }
}

TEST_F(DesktopWindow, IconIsTheBuiltInPicture) {
  constexpr std::int64_t slot = 7;
  const auto png = assets::iconPng();
  ASSERT_TRUE(platform::decodeImage(slot, png.data(), png.size()));
  const std::int64_t w = platform::backend::imageWidth(slot);
  const std::int64_t h = platform::backend::imageHeight(slot);
  const std::vector<unsigned long> icon = probe->cardinals(client, "_NET_WM_ICON");
  ASSERT_GE(icon.size(), 2u);
  ASSERT_EQ(static_cast<std::int64_t>(icon[0]), w);
  ASSERT_EQ(static_cast<std::int64_t>(icon[1]), h);
  ASSERT_EQ(static_cast<std::int64_t>(icon.size()), 2 + w * h);
  std::int64_t differing = 0;
  for (std::int64_t y = 0; y < h; ++y) {
    for (std::int64_t x = 0; x < w; ++x) {
      const unsigned long shown = icon[static_cast<std::size_t>(2 + y * w + x)] & 0xFFFFFFFF;
      if (shown != platform::backend::imagePixel(slot, x, y)) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
  platform::releaseImages();
}

TEST_F(DesktopWindow, PresentShowsEveryChangeSinceTheLastOne) {
  fill(100, 100, 200, 150, 0x3040C0);
  platform::present();
  // The second present uploads only the new box; the first must stay on view.
  fill(700, 400, 31, 17, 0xE0A010);
  platform::present();
  struct Probe {
    int x, y;
    std::uint32_t rgb;
  };
  const Probe probes[] = {
      {100, 100, 0x3040C0}, {299, 249, 0x3040C0}, {200, 170, 0x3040C0}, {300, 170, 0x000000},
      {700, 400, 0xE0A010}, {730, 416, 0xE0A010}, {731, 416, 0x000000}, {730, 417, 0x000000},
      {699, 400, 0x000000}, {700, 399, 0x000000}, {5, 5, 0x000000},     {1279, 719, 0x000000},
  };
  probe->flush();
  for (const Probe& p : probes) {
    EXPECT_EQ(probe->pixel(client, p.x, p.y), p.rgb) << "at " << p.x << ", " << p.y;
  }
}

TEST_F(DesktopWindow, PresentsFollowEachOtherNoFasterThanTheFrameRate) {
  const Clock::time_point start = Clock::now();
  for (int i = 1; i <= 10; ++i) {
    fill(i, 0, 1, 1, 0xFFFFFF);
    platform::present();
  }
  // The first present may follow the fixture's at once only if a frame has passed.
  EXPECT_GE(Clock::now() - start, std::chrono::microseconds(10 * 1'000'000 / 51));
}

TEST_F(DesktopWindow, UncoveredWindowIsRepaintedWhileEventsArePolled) {
  fill(0, 0, 1280, 720, 0x205080);
  platform::present();
  const Geometry g = probe->geometry(client);
  const XWindow cover = probe->cover(g.x + 200, g.y + 200, 300, 200);
  ASSERT_TRUE(pollUntil([&] { return probe->pixel(client, 300, 300) == 0xFFFFFF; }));
  probe->destroy(cover);
  EXPECT_NE(probe->pixel(client, 300, 300), 0x205080u) << "the X server repainted by itself";
  EXPECT_TRUE(pollUntil([&] { return probe->pixel(client, 300, 300) == 0x205080; }));
  EXPECT_EQ(probe->pixel(client, 499, 399), 0x205080u);
}

TEST_F(DesktopWindow, KeyReleasesGiveVirtualKeyCodes) {
  struct Step {
    const char* keysym;
    bool press;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::int64_t> releases;
  };
  const auto tap = [](const char* keysym) {
    return std::vector<Step>{{keysym, true}, {keysym, false}};
  };
  const std::vector<Case> cases = {
      {"letter", tap("j"), {74}},
      {"letter with Shift",
       {{"Shift_L", true}, {"j", true}, {"j", false}, {"Shift_L", false}},
       {74, 16}},
      {"Esc", tap("Escape"), {27}},
      {"arrows",
       {{"Left", true},
        {"Left", false},
        {"Up", true},
        {"Up", false},
        {"Right", true},
        {"Right", false},
        {"Down", true},
        {"Down", false}},
       {37, 38, 39, 40}},
      {"digit", tap("5"), {53}},
      {"keypad digit", tap("KP_5"), {101}},
      {"Space", tap("space"), {32}},
      {"Enter", tap("Return"), {13}},
      {"F1", tap("F1"), {112}},
      {"OEM keys",
       {{"semicolon", true},
        {"semicolon", false},
        {"bracketleft", true},
        {"bracketleft", false},
        {"apostrophe", true},
        {"apostrophe", false}},
       {186, 219, 222}},
      {"held key gives one code", {{"a", true}, {"a", true}, {"a", true}, {"a", false}}, {65}},
      {"F10 is a system key", tap("F10"), {}},
      {"keys held with Alt are system keys",
       {{"Alt_L", true}, {"j", true}, {"j", false}, {"Alt_L", false}},
       {18}},
  };
  probe->focus(client);
  for (const Case& c : cases) {
    for (const Step& step : c.steps) probe->key(step.keysym, step.press);
    probe->tap("k");
    std::vector<std::int64_t> expected = c.releases;
    expected.push_back('K');
    EXPECT_EQ(releasesUntilK(), expected) << c.name;
    EXPECT_EQ(platform::eventKey(), 'K') << c.name;
  }
}

TEST_F(DesktopWindow, ButtonPressesAndTheCursor) {
  constexpr EventKind left = EventKind::leftPressed;
  constexpr EventKind right = EventKind::rightPressed;
  struct Case {
    const char* name;
    int button;
    int presses;
    int x, y;
    std::vector<EventKind> kinds;  // the presses taken, up to the closing right click
  };
  // Far apart, so that no click continues an earlier one into a double click.
  const Case cases[] = {
      {"left", 1, 1, 200, 300, {left, right}},
      {"right", 3, 1, 900, 500, {right, right}},
      {"double click is one press", 1, 2, 600, 100, {left, right}},
      {"middle button", 2, 1, 1000, 650, {right}},
  };
  int closing = 0;
  for (const Case& c : cases) {
    probe->moveTo(client, c.x, c.y);
    ASSERT_TRUE(pollUntil([&] { return platform::mouseX() == c.x && platform::mouseY() == c.y; }))
        << c.name << ": cursor at " << platform::mouseX() << ", " << platform::mouseY();
    const std::size_t start = taken.size();
    for (int i = 0; i < c.presses; ++i) {
      probe->button(c.button, true);
      probe->button(c.button, false);
    }
    // The window manager holds presses back while it handles them, so only a
    // click, not a key, tells when the case's own presses have all arrived. It
    // comes after SDL's double-click time: on a loaded machine the cursor's move
    // can reach SDL after the press, which would then count as a second click.
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    probe->moveTo(client, 1200, 60 + 150 * closing++);
    probe->button(3, true);
    probe->button(3, false);
    const auto rights = std::count(c.kinds.begin(), c.kinds.end(), right);
    std::vector<EventKind> kinds;
    pollUntil([&] {
      kinds.clear();
      for (std::size_t i = start; i < taken.size(); ++i) {
        if (taken[i].kind == left || taken[i].kind == right) kinds.push_back(taken[i].kind);
      }
      return std::count(kinds.begin(), kinds.end(), right) == rights;
    });
    EXPECT_EQ(kinds, c.kinds) << c.name;
  }
}

TEST_F(DesktopWindow, CursorOutsideTheClientAreaIsMinusOne) {
  probe->moveTo(client, 640, 360);
  ASSERT_TRUE(pollUntil([] { return platform::mouseX() == 640 && platform::mouseY() == 360; }));
  probe->moveTo(client, -100, 360);
  EXPECT_TRUE(pollUntil([] { return platform::mouseX() == -1 && platform::mouseY() == -1; }));
  probe->moveTo(client, 640, 760);
  EXPECT_TRUE(pollUntil([] { return platform::mouseX() == -1 && platform::mouseY() == -1; }));
}

TEST_F(DesktopWindow, MaximiseStretchesTheScreenAndRestoreBringsBackTheOpeningSize) {
  drawMarkers();

  probe->setMaximised(client, true);
  ASSERT_TRUE(waitFor(EventKind::maximised));
  ASSERT_TRUE(pollUntil([&] {
    const Geometry g = probe->geometry(client);
    return g.width > 1280 && g.height > 720 && learnedWidth == g.width && learnedHeight == g.height;
  })) << "learned "
      << learnedWidth << " x " << learnedHeight;
  EXPECT_EQ(platform::windowWidth(), learnedWidth);
  EXPECT_EQ(platform::windowHeight(), learnedHeight);

  const int w = static_cast<int>(learnedWidth);
  const int h = static_cast<int>(learnedHeight);
  pollUntil([&] { return markerMismatches(w, h).empty(); });
  EXPECT_EQ(markerMismatches(w, h), std::vector<std::string>{});

  probe->setMaximised(client, false);
  EXPECT_TRUE(waitFor(EventKind::restored));
  EXPECT_TRUE(pollUntil([&] { return showsClientSize(1280, 720); }));
  EXPECT_EQ(learnedWidth, 1280);
  EXPECT_EQ(learnedHeight, 720);
  EXPECT_EQ(platform::windowWidth(), 1280);
  EXPECT_EQ(platform::windowHeight(), 720);
}

TEST_F(DesktopWindow, MinimisedMaximisedWindowComesBackMaximised) {
  probe->setMaximised(client, true);
  ASSERT_TRUE(waitFor(EventKind::maximised));
  probe->minimise(client);
  ASSERT_TRUE(waitFor(EventKind::minimised));
  const std::size_t start = taken.size();
  probe->activate(client);
  ASSERT_TRUE(pollUntil([&] { return probe->geometry(client).viewable; }));
  EXPECT_TRUE(waitFor(EventKind::maximised));
  EXPECT_EQ(count(EventKind::restored, start), 0);
  EXPECT_TRUE(pollUntil([&] {
    const Geometry g = probe->geometry(client);
    return g.width > 1280 && learnedWidth == g.width && learnedHeight == g.height;
  })) << "learned "
      << learnedWidth << " x " << learnedHeight;

  probe->setMaximised(client, false);
  EXPECT_TRUE(pollUntil([&] {
    return showsClientSize(1280, 720) && learnedWidth == 1280 && learnedHeight == 720;
  })) << "learned "
      << learnedWidth << " x " << learnedHeight;
}

TEST_F(DesktopWindow, SizeForcedByTheWindowManagerIsReportedAndStretchedTo) {
  drawMarkers();
  probe->forceSize(client, 1000, 600);
  ASSERT_TRUE(waitFor(EventKind::resized));
  EXPECT_TRUE(pollUntil([&] {
    return showsClientSize(1000, 600) && learnedWidth == 1000 && learnedHeight == 600;
  })) << "learned "
      << learnedWidth << " x " << learnedHeight;
  pollUntil([&] { return markerMismatches(1000, 600).empty(); });
  EXPECT_EQ(markerMismatches(1000, 600), std::vector<std::string>{});

  probe->forceSize(client, 1280, 720);
  EXPECT_TRUE(pollUntil([&] {
    return showsClientSize(1280, 720) && learnedWidth == 1280 && learnedHeight == 720;
  })) << "learned "
      << learnedWidth << " x " << learnedHeight;
}

TEST_F(DesktopWindow, CloseRequestArrivesOnceAndTheWindowStays) {
  const std::size_t start = taken.size();
  probe->requestClose(client);
  ASSERT_TRUE(waitFor(EventKind::closeRequested));
  probe->focus(client);
  probe->tap("k");
  releasesUntilK();
  EXPECT_EQ(count(EventKind::closeRequested, start), 1);
  EXPECT_TRUE(probe->geometry(client).viewable);
}

}  // namespace
