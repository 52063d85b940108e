// Pacing and present cost in a real window: frame rate while drawing, holds, CPU per present.
#include <SDL.h>  // only to name the renderer the desktop back end chose
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

#include "flow/input.h"
#include "game/accounting.h"
#include "game/new_game.h"
#include "game/tables.h"
#include "flow/game_loop.h"
#include "platform/platform.h"
#include "view/board.h"
#include "view/palette.h"
#include "view/panel.h"
#include "view/resources.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int64_t frameRate = 50;  // the game's own pace

struct Frame {
  Clock::time_point end;
  bool afterSleep = false;  // a hold came between this present and the one before
};

std::vector<Frame> frames;
bool sleptSinceFrame = false;
Clock::duration timeInPresent{};
Clock::duration timeInSleep{};

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double processCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

long minorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

}  // namespace

// Every present and sleepMs of the game layers (and of this file) comes through here.
extern "C" void __real__ZN8platform7presentEv();
extern "C" void __real__ZN8platform7sleepMsEl(std::int64_t milliseconds);

extern "C" void __wrap__ZN8platform7presentEv() {
  const Clock::time_point start = Clock::now();
  __real__ZN8platform7presentEv();
  const Clock::time_point end = Clock::now();
  timeInPresent += end - start;
  frames.push_back({end, sleptSinceFrame});
  sleptSinceFrame = false;
}

extern "C" void __wrap__ZN8platform7sleepMsEl(std::int64_t milliseconds) {
  const Clock::time_point start = Clock::now();
  __real__ZN8platform7sleepMsEl(milliseconds);
  timeInSleep += Clock::now() - start;
  sleptSinceFrame = true;
}

namespace {

struct Span {
  double wallMs = 0, presentMs = 0, sleepMs = 0;
  std::int64_t presents = 0;
  // Back-to-back presents only: the gaps that the pacing alone decides.
  std::int64_t pacedGaps = 0;
  double pacedMs = 0, shortestGapMs = 1e9, longestGapMs = 0;

  void add(const Span& other) {
    wallMs += other.wallMs;
    presentMs += other.presentMs;
    sleepMs += other.sleepMs;
    presents += other.presents;
    pacedGaps += other.pacedGaps;
    pacedMs += other.pacedMs;
    shortestGapMs = std::min(shortestGapMs, other.shortestGapMs);
    longestGapMs = std::max(longestGapMs, other.longestGapMs);
  }
  double pacedRate() const {
    return pacedMs > 0 ? 1000.0 * static_cast<double>(pacedGaps) / pacedMs : 0;
  }
};

// Runs one routine after a quiet moment, so its first present is not held back by an earlier one.
template <class Routine>
Span measure(Routine routine) {
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  frames.clear();
  sleptSinceFrame = true;
  timeInPresent = {};
  timeInSleep = {};
  const Clock::time_point start = Clock::now();
  routine();
  const Clock::time_point end = Clock::now();
  Span span;
  span.wallMs = ms(end - start);
  span.presentMs = ms(timeInPresent);
  span.sleepMs = ms(timeInSleep);
  span.presents = static_cast<std::int64_t>(frames.size());
  for (std::size_t i = 1; i < frames.size(); ++i) {
    if (frames[i].afterSleep) continue;
    const double gap = ms(frames[i].end - frames[i - 1].end);
    ++span.pacedGaps;
    span.pacedMs += gap;
    span.shortestGapMs = std::min(span.shortestGapMs, gap);
    span.longestGapMs = std::max(span.longestGapMs, gap);
  }
  return span;
}

void report(const char* key, double value) { std::printf("%s %.3f\n", key, value); }

void reportSpan(const char* prefix, const Span& span, std::int64_t runs) {
  const double n = static_cast<double>(runs);
  std::printf("%s_runs %lld\n", prefix, static_cast<long long>(runs));
  std::printf("%s_presents %lld\n", prefix, static_cast<long long>(span.presents));
  std::printf("%s_paced_gaps %lld\n", prefix, static_cast<long long>(span.pacedGaps));
  auto line = [prefix](const char* what, double value) {
    std::printf("%s_%s %.3f\n", prefix, what, value);
  };
  line("wall_ms", span.wallMs / n);
  line("present_ms", span.presentMs / n);
  line("sleep_ms", span.sleepMs / n);
  line("paced_rate", span.pacedRate());
  line("gap_min_ms", span.shortestGapMs);
  line("gap_max_ms", span.longestGapMs);
}

// Presents the routine would make by the rules: one per tile, two per drawCell (four homes and
// every gold mine), and the four player boxes and the turn number.
std::int64_t newGamePresentsFromTables() {
  std::int64_t land = 0, mines = 0;
  for (std::int64_t column = 1; column <= game::playColumns; ++column) {
    for (std::int64_t row = 1; row <= game::playRows; ++row) {
      const game::Cell& cell = game::board[column][row];
      if (cell.terrain >= game::firstLandTerrain) ++land;
      if (cell.goldMine == 1) ++mines;
    }
  }
  return land + 2 * (4 + mines) + 5;
}

void measureNewGames(std::int64_t boards) {
  Span total;
  std::int64_t fromTables = 0;
  for (std::int64_t b = 0; b < boards; ++b) {
    view::drawBackdrop();
    view::drawFooter();
    view::drawBoard();
    view::drawDoneButton(view::doneNormal);
    total.add(measure([] { game::newGame(); }));
    fromTables += newGamePresentsFromTables();
  }
  reportSpan("newgame", total, boards);
  std::printf("newgame_presents_from_tables %lld\n", static_cast<long long>(fromTables));
}

void measureBlinks(std::int64_t runs) {
  std::int64_t column = 1, row = 1;
  for (std::int64_t c = 1; c <= game::playColumns; ++c) {
    for (std::int64_t r = 1; r <= game::playRows; ++r) {
      if (game::board[c][r].owner > 0) column = c, row = r;
    }
  }
  Span total;
  for (std::int64_t i = 0; i < runs; ++i) total.add(measure([=] { view::blinkCell(column, row); }));
  reportSpan("blink", total, runs);
}

// With nobody holding land no event can strike: only the messages, boxes and the closing hold.
void measureQuietAccountings(std::int64_t runs) {
  for (auto& columnCells : game::board) {
    for (game::Cell& cell : columnCells) {
      cell.owner = 0;
      cell.roundsOwned = 0;
    }
  }
  Span total;
  for (std::int64_t i = 0; i < runs; ++i) {
    game::gameState.result = game::resultRunning;
    game::gameState.currentSlot = 5;
    total.add(measure([] { game::runAccounting(); }));
  }
  reportSpan("accounting", total, runs);
  report("accounting_nominal_ms", static_cast<double>(game::gameState.pcDelay));
}

enum class Change { none, cell, whole };

// Process CPU (every thread, the renderer's included) of the draw-and-present loop less that of
// the same drawing without presents, per present; pacing is off so only upload and show count.
void measurePresentCost(const char* name, Change change, std::int64_t count) {
  auto draw = [change](std::int64_t i) {
    if (change == Change::none) return;
    platform::beginDraw(platform::screen);
    const platform::Colour colour = (i % 2 == 0) ? 0x203040 : 0x405060;
    if (change == Change::cell) {
      platform::fillBox(407, 202, 95, 95, colour);
    } else {
      platform::fillBox(0, 0, platform::screenWidth, platform::screenHeight, colour);
    }
    platform::endDraw();
  };
  const double drawStart = processCpuMs();
  for (std::int64_t i = 0; i < count; ++i) draw(i);
  const double drawCpu = processCpuMs() - drawStart;
  platform::present();
  const double start = processCpuMs();
  const Clock::time_point wallStart = Clock::now();
  for (std::int64_t i = 0; i < count; ++i) {
    draw(i);
    platform::present();
  }
  const double cpu = processCpuMs() - start - drawCpu;
  const double wall = ms(Clock::now() - wallStart);
  const double n = static_cast<double>(count);
  std::printf("present_%s_cpu_ms %.4f\n", name, cpu / n);
  std::printf("present_%s_wall_ms %.4f\n", name, wall / n);
}

// What one pass of an idle wait costs: a poll that finds nothing, then the 5 ms pause.
void measureIdlePass(std::int64_t passes) {
  platform::Event event;
  while (platform::pollEvent(event)) {
  }
  double start = processCpuMs();
  Clock::time_point wallStart = Clock::now();
  for (std::int64_t i = 0; i < passes; ++i) platform::pollEvent(event);
  std::printf("idle_poll_cpu_us %.2f\n",
              1000 * (processCpuMs() - start) / static_cast<double>(passes));
  std::printf("idle_poll_wall_us %.2f\n",
              1000 * ms(Clock::now() - wallStart) / static_cast<double>(passes));
  start = processCpuMs();
  wallStart = Clock::now();
  for (std::int64_t i = 0; i < passes; ++i) platform::sleepMs(5);
  std::printf("idle_sleep_cpu_us %.2f\n",
              1000 * (processCpuMs() - start) / static_cast<double>(passes));
  std::printf("idle_sleep_wall_ms %.3f\n",
              ms(Clock::now() - wallStart) / static_cast<double>(passes));
}

void reportRenderer() {
  std::printf("video_driver %s\n", SDL_GetCurrentVideoDriver());
  for (Uint32 id = 1; id < 16; ++id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    SDL_Renderer* renderer = window != nullptr ? SDL_GetRenderer(window) : nullptr;
    SDL_RendererInfo info;
    if (renderer == nullptr || SDL_GetRendererInfo(renderer, &info) != 0) continue;
    std::printf("renderer %s%s\n", info.name,
                (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0 ? "+vsync" : "");
    return;
  }
  std::printf("renderer unknown\n");
}


}  // namespace

// The start-up steps of the game in its order up to its first picture, each timed in real and
// process CPU time, so that waiting (for the X server, for the pacing) shows apart from work,
// and in page faults, the price of touching fresh memory.
bool startUp() {
  Clock::time_point start = Clock::now();
  double cpuStart = processCpuMs();
  long faultsStart = minorFaults();
  auto step = [&](const char* name, bool ok) {
    const Clock::time_point now = Clock::now();
    const double cpu = processCpuMs();
    const long faults = minorFaults();
    std::printf("startup_%s_ms %.2f\nstartup_%s_cpu_ms %.2f\nstartup_%s_faults %ld\n", name,
                ms(now - start), name, cpu - cpuStart, name, faults - faultsStart);
    start = now;
    cpuStart = cpu;
    faultsStart = faults;
    return ok;
  };
  game::resetTables();
  flow::resetInput();
  view::loadFonts();
  step("fonts", true);
  if (!step("display", platform::openDisplaySystem())) return false;
  if (!step("input", platform::openKeyboard() && platform::openMouse())) return false;
  if (!step("window",
            platform::openWindow("TERRANOX", platform::screenWidth, platform::screenHeight))) {
    return false;
  }
  if (!step("screen", platform::openScreen())) return false;
  platform::setFrameRate(frameRate);
  view::initPalette();
  view::prepareImages();
  step("images", true);
  platform::clearScreen(0);
  view::drawBackdrop();
  return step("backdrop", true);
}

int main() {
  frames.reserve(4096);
  if (!startUp()) {
    std::fprintf(stderr, "window_bench: the window could not be opened\n");
    flow::closePlatform();
    return 1;
  }
  reportRenderer();

  measureNewGames(5);
  measureBlinks(3);
  measureQuietAccountings(3);

  platform::setFrameRate(0);
  measurePresentCost("none", Change::none, 300);
  measurePresentCost("cell", Change::cell, 300);
  measurePresentCost("whole", Change::whole, 300);
  platform::setFrameRate(frameRate);
  measureIdlePass(400);

  flow::closePlatform();
  return 0;
}
