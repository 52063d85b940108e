// The headless back end: virtual clock, scripted events, records of what was shown, chance.
#include "platform/headless/headless.h"

#include <png.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <random>
#include <utility>

#include "platform/common/backend.h"

namespace headless {
namespace {

constexpr std::uint64_t defaultSeed = 20240601;
constexpr std::int64_t defaultDryLimit = 400;
constexpr std::int64_t defaultFrameRate = 50;

struct Point {
  std::int64_t x = 0, y = 0;
};

// One entry of the script: the event the game sees, and what taking it does to
// the cursor or the client size.
struct Scripted {
  platform::Event event;
  std::optional<Point> cursor;
  std::optional<Point> clientSize;
};

struct State {
  std::deque<Scripted> script;
  std::function<void()> idleHook;
  std::int64_t dryLimit = defaultDryLimit;
  std::int64_t dryPolls = 0;
  std::int64_t lastKey = 0;
  Point cursor;
  Point clientSize{platform::screenWidth, platform::screenHeight};

  std::int64_t clockUs = 0;
  std::int64_t frameRate = defaultFrameRate;
  std::optional<std::int64_t> lastPresentUs;
  std::vector<std::int64_t> sleeps;
  std::vector<std::int64_t> presents;
  std::vector<TextRecord> texts;

  std::mt19937_64 random{defaultSeed};
  std::deque<std::int64_t> forced;
  std::int64_t draws = 0;

  std::array<bool, 4> failing{};  // indexed by check number, 0 unused
  std::vector<ErrorBox> errors;
  bool windowOpened = false;
  bool windowOpen = false;
  std::string windowTitle;
  std::vector<std::string> shutdownLog;
};

State& state() {
  static State s;
  return s;
}

// A test that scripts something impossible is broken; stopping at once shows where.
[[noreturn]] void testFault(const std::string& message) {
  std::fprintf(stderr, "headless back end: %s\n", message.c_str());
  std::fflush(stderr);
  std::abort();
}

void push(Scripted entry) { state().script.push_back(std::move(entry)); }

// The smallest whole number of microseconds that is more than one frame
// interval of 1 / (rate + 1) seconds.
std::int64_t presentIntervalUs() {
  const std::int64_t rate = state().frameRate;
  return rate > 0 ? 1'000'000 / (rate + 1) + 1 : 0;
}

}  // namespace

void reset() {
  state() = State{};
  platform::clearScreen(0);
  platform::backend::takeChangedRect();
}

void pushEvent(platform::EventKind kind, std::int64_t key) {
  push({platform::Event{kind, key}, std::nullopt, std::nullopt});
}

void pushKey(std::int64_t virtualKey) { pushEvent(platform::EventKind::keyReleased, virtualKey); }

void pushMove(std::int64_t x, std::int64_t y) {
  push({platform::Event{platform::EventKind::other, 0}, Point{x, y}, std::nullopt});
}

void pushClick(std::int64_t x, std::int64_t y, bool right) {
  pushMove(x, y);
  pushEvent(right ? platform::EventKind::rightPressed : platform::EventKind::leftPressed);
}

void pushMaximise(std::int64_t width, std::int64_t height) {
  push({platform::Event{platform::EventKind::maximised, 0}, std::nullopt, Point{width, height}});
}

void pushRestore() {
  push({platform::Event{platform::EventKind::restored, 0}, std::nullopt,
        Point{platform::screenWidth, platform::screenHeight}});
}

void setCursor(std::int64_t x, std::int64_t y) { state().cursor = {x, y}; }

void setClientSize(std::int64_t width, std::int64_t height) {
  state().clientSize = {width, height};
}

std::size_t eventsLeft() { return state().script.size(); }

void setIdleHook(std::function<void()> hook) { state().idleHook = std::move(hook); }

void setDryLimit(std::int64_t polls) { state().dryLimit = polls; }

std::int64_t nowUs() { return state().clockUs; }

std::int64_t nowMs() { return state().clockUs / 1000; }

const std::vector<std::int64_t>& sleeps() { return state().sleeps; }

const std::vector<std::int64_t>& presentTimesUs() { return state().presents; }

std::int64_t presentCount() { return static_cast<std::int64_t>(state().presents.size()); }

const std::vector<TextRecord>& texts() { return state().texts; }

void clearRecords() {
  state().sleeps.clear();
  state().presents.clear();
  state().texts.clear();
}

std::uint32_t pixel(std::int64_t x, std::int64_t y) {
  if (x < 0 || y < 0 || x >= platform::screenWidth || y >= platform::screenHeight) return 0;
  return platform::backend::screenPixels()[y * platform::screenWidth + x] & 0xFFFFFFu;
}

std::uint32_t imagePixel(std::int64_t slot, std::int64_t x, std::int64_t y) {
  return platform::backend::imagePixel(slot, x, y);
}

std::vector<std::uint32_t> screenCopy() {
  const std::uint32_t* pixels = platform::backend::screenPixels();
  return {pixels, pixels + platform::screenWidth * platform::screenHeight};
}

bool dumpScreen(const std::string& path) {
  const std::uint32_t* pixels = platform::backend::screenPixels();
  std::vector<png_byte> rgb;
  rgb.reserve(static_cast<std::size_t>(platform::screenWidth * platform::screenHeight * 3));
  for (std::int64_t i = 0; i < platform::screenWidth * platform::screenHeight; ++i) {
    rgb.push_back(static_cast<png_byte>(pixels[i] >> 16));
    rgb.push_back(static_cast<png_byte>(pixels[i] >> 8));
    rgb.push_back(static_cast<png_byte>(pixels[i]));
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(platform::screenWidth);
  image.height = static_cast<png_uint_32>(platform::screenHeight);
  image.format = PNG_FORMAT_RGB;
  const bool written =
      png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return written;
}

void seed(std::uint64_t value) { state().random.seed(value); }

void forceDraws(const std::vector<std::int64_t>& values) {
  state().forced.insert(state().forced.end(), values.begin(), values.end());
}

std::size_t forcedDrawsLeft() { return state().forced.size(); }

std::int64_t drawCount() { return state().draws; }

void failCheck(int which) {
  if (which < 1 || which >= static_cast<int>(state().failing.size())) {
    testFault("failCheck(" + std::to_string(which) + "): the checks are 1, 2 and 3");
  }
  state().failing[static_cast<std::size_t>(which)] = true;
}

const std::vector<ErrorBox>& errors() { return state().errors; }

bool windowOpened() { return state().windowOpened; }

bool windowOpen() { return state().windowOpen; }

std::string windowTitle() { return state().windowTitle; }

std::vector<std::string> shutdownLog() { return state().shutdownLog; }

}  // namespace headless

namespace platform {

bool openDisplaySystem() { return !headless::state().failing[1]; }

bool openKeyboard() { return !headless::state().failing[2]; }

bool openMouse() { return !headless::state().failing[3]; }

bool openWindow(std::string_view title, std::int64_t, std::int64_t) {
  auto& s = headless::state();
  s.windowTitle = title;
  s.windowOpened = true;
  s.windowOpen = true;
  return true;
}

bool openScreen() { return true; }

void setFrameRate(std::int64_t perSecond) { headless::state().frameRate = perSecond; }

void closeKeyboard() { headless::state().shutdownLog.emplace_back("closeKeyboard"); }

void closeMouse() { headless::state().shutdownLog.emplace_back("closeMouse"); }

void closeScreen() { headless::state().shutdownLog.emplace_back("closeScreen"); }

void closeDisplaySystem() { headless::state().shutdownLog.emplace_back("closeDisplaySystem"); }

void closeWindow() {
  auto& s = headless::state();
  s.windowOpen = false;
  s.shutdownLog.emplace_back("closeWindow");
}

void showError(std::string_view title, std::string_view text) {
  headless::state().errors.push_back({std::string(title), std::string(text)});
}

bool pollEvent(Event& event) {
  auto& s = headless::state();
  if (s.script.empty() && s.idleHook) {
    // A copy, so a hook that replaces itself does not destroy the running function.
    const auto hook = s.idleHook;
    hook();
  }
  if (s.script.empty()) {
    if (++s.dryPolls > s.dryLimit) throw headless::ScriptEnded{};
    return false;
  }
  const headless::Scripted taken = s.script.front();
  s.script.pop_front();
  s.dryPolls = 0;
  if (taken.cursor) s.cursor = *taken.cursor;
  if (taken.clientSize) s.clientSize = *taken.clientSize;
  s.lastKey = taken.event.key;
  event = taken.event;
  return true;
}

std::int64_t eventKey() { return headless::state().lastKey; }

std::int64_t mouseX() { return headless::state().cursor.x; }

std::int64_t mouseY() { return headless::state().cursor.y; }

std::int64_t windowWidth() { return headless::state().clientSize.x; }

std::int64_t windowHeight() { return headless::state().clientSize.y; }

void sleepMs(std::int64_t milliseconds) {
  auto& s = headless::state();
  s.sleeps.push_back(milliseconds);
  // The clock never runs backwards, whatever the argument.
  if (milliseconds > 0) s.clockUs += milliseconds * 1000;
}

std::int64_t randomNumber(std::int64_t min, std::int64_t max) {
  auto& s = headless::state();
  ++s.draws;
  if (min > max) {
    headless::testFault("randomNumber(" + std::to_string(min) + ", " + std::to_string(max) +
                        "): the range is empty");
  }
  if (!s.forced.empty()) {
    const std::int64_t value = s.forced.front();
    s.forced.pop_front();
    if (value < min || value > max) {
      headless::testFault("forced draw " + std::to_string(value) + " lies outside randomNumber(" +
                          std::to_string(min) + ", " + std::to_string(max) + ")");
    }
    return value;
  }
  return std::uniform_int_distribution<std::int64_t>(min, max)(s.random);
}

void present() {
  auto& s = headless::state();
  if (s.lastPresentUs) {
    const std::int64_t due = *s.lastPresentUs + headless::presentIntervalUs();
    if (s.clockUs < due) s.clockUs = due;
  }
  s.lastPresentUs = s.clockUs;
  s.presents.push_back(s.clockUs);
}

namespace backend {

void noteDrawing() { headless::state().dryPolls = 0; }

void noteText(std::int64_t target, std::int64_t x, std::int64_t y, std::string_view text,
              Colour colour) {
  auto& s = headless::state();
  s.texts.push_back({std::string(text), x, y, colour, target, s.clockUs});
}

}  // namespace backend
}  // namespace platform
