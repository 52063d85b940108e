// CPU cost of drawing and rules on the headless back end, whose present and sleeps are free.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <span>
#include <string>

#include "assets/embedded.h"
#include "flow/game_loop.h"
#include "flow/input.h"
#include "game/accounting.h"
#include "game/computer.h"
#include "game/new_game.h"
#include "game/tables.h"
#include "platform/common/backend.h"
#include "platform/headless/headless.h"
#include "view/board.h"
#include "view/palette.h"
#include "view/panel.h"
#include "view/resources.h"

namespace {

// The headless back end keeps a record of every present and text; emptying it now and then keeps
// a long run from timing a growing vector instead of the drawing.
constexpr std::int64_t recordsKeptFor = 1024;

void freshTables() {
  headless::reset();
  game::resetTables();
  flow::resetInput();
  view::initPalette();
  if (platform::backend::imageWidth(view::imageBackdrop) == 0) {
    view::loadFonts();
    view::prepareImages();
  }
  headless::clearRecords();
}

// A board some rounds into a game: most land held by the four players in bands of columns,
// every fifth land cell still free, cities and forts scattered over the held land.
void buildMidGameBoard() {
  freshTables();
  headless::seed(7);
  game::newGame();
  std::int64_t landSeen = 0;
  for (std::int64_t column = 1; column <= game::playColumns; ++column) {
    for (std::int64_t row = 1; row <= game::playRows; ++row) {
      game::Cell& cell = game::board[column][row];
      if (cell.terrain < game::firstLandTerrain) continue;
      ++landSeen;
      if (landSeen % 5 == 0) continue;
      cell.owner = (column - 1) * 4 / game::playColumns + 1;
      cell.roundsOwned = 3;
      cell.defence = 100;
      cell.fort = landSeen % 3 == 2 ? 1 : 0;
      if (landSeen % 4 == 1 && cell.goldMine == 0) {
        cell.city = 1;
        cell.income += 1;
      }
    }
  }
  for (std::int64_t player = 1; player <= game::human; ++player) game::players[player].gold = 12;
  headless::clearRecords();
}

std::int64_t landCells() {
  std::int64_t count = 0;
  for (std::int64_t column = 1; column <= game::playColumns; ++column) {
    for (std::int64_t row = 1; row <= game::playRows; ++row) {
      if (game::board[column][row].terrain >= game::firstLandTerrain) ++count;
    }
  }
  return count;
}

void keepRecordsSmall(std::int64_t iteration) {
  if (iteration % recordsKeptFor == 0) headless::clearRecords();
}

// The heaviest cell: a player's colour in both boxes, a city and a fort letter, each with shadow.
void BM_drawCell(benchmark::State& state) {
  freshTables();
  game::players[2].colourIndex = 26;
  game::Cell& cell = game::board[5][4];
  cell = game::Cell{};
  cell.terrain = 15;
  cell.owner = 2;
  cell.fort = 1;
  cell.city = 1;
  std::int64_t iteration = 0;
  for (auto _ : state) {
    view::drawCell(5, 4);
    keepRecordsSmall(++iteration);
  }
}
BENCHMARK(BM_drawCell)->Unit(benchmark::kMicrosecond);

// One of the longest messages the accounting shows: measuring, shadow and text.
void BM_showMessage(benchmark::State& state) {
  freshTables();
  std::int64_t iteration = 0;
  for (auto _ : state) {
    view::showMessage("Stadt 11 , 7 wurde durch eine Seuche zerstört !!!");
    keepRecordsSmall(++iteration);
  }
}
BENCHMARK(BM_showMessage)->Unit(benchmark::kMicrosecond);

void BM_drawPlayerBox(benchmark::State& state) {
  freshTables();
  game::players[game::human] = {3, 28, 40, 30};
  std::int64_t iteration = 0;
  for (auto _ : state) {
    view::drawPlayerBox(game::human, view::playerActive);
    keepRecordsSmall(++iteration);
  }
}
BENCHMARK(BM_drawPlayerBox)->Unit(benchmark::kMicrosecond);

// What a computer player thinks before each move: scoring the board and picking the best entry.
void BM_computerMoveChoice(benchmark::State& state) {
  buildMidGameBoard();
  std::int64_t chosen = 0;
  for (auto _ : state) {
    game::scoreMoves(1);
    chosen = game::chooseMove();
    benchmark::DoNotOptimize(chosen);
  }
  std::int64_t entries = 0;
  for (const game::Candidate& candidate : game::candidates) entries += candidate.kind > 0 ? 1 : 0;
  state.counters["land"] = static_cast<double>(landCells());
  state.counters["candidates"] = static_cast<double>(entries);
  state.counters["chosen"] = static_cast<double>(chosen);
}
BENCHMARK(BM_computerMoveChoice)->Unit(benchmark::kMicrosecond);

// One accounting over the mid-game board, its events and holds included (the holds are virtual).
void BM_runAccounting(benchmark::State& state) {
  buildMidGameBoard();
  const game::Board board = game::board;
  const game::PlayerTable players = game::players;
  game::gameState.currentSlot = 5;
  const game::GameState gameState = game::gameState;
  std::int64_t iteration = 0;
  std::int64_t virtualMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    game::board = board;
    game::players = players;
    game::gameState = gameState;
    const std::int64_t before = headless::nowMs();
    state.ResumeTiming();
    game::runAccounting();
    virtualMs += headless::nowMs() - before;
    keepRecordsSmall(++iteration);
  }
  state.counters["virtual_ms"] =
      benchmark::Counter(static_cast<double>(virtualMs), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_runAccounting)->Unit(benchmark::kMicrosecond);

// The restart prompt overwrites the result, so the winner is taken while the end message waits.
bool gameWon = false;

// Start-up work before the first picture: the three built-in pictures, one at a time, and the
// whole preparation with the tiles cut out and the two Done pictures drawn.
void BM_decodePicture(benchmark::State& state) {
  freshTables();
  const std::span<const unsigned char> pictures[] = {assets::backdropJpeg(), assets::tileSheetPng(),
                                                     assets::seaJpeg()};
  const std::span<const unsigned char> bytes = pictures[state.range(0)];
  for (auto _ : state) {
    benchmark::DoNotOptimize(platform::decodeImage(view::imageSea, bytes.data(), bytes.size()));
  }
  // The sea slot served as scratch space; the games benchmarked after this one draw it.
  view::prepareImages();
}
BENCHMARK(BM_decodePicture)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_prepareImages(benchmark::State& state) {
  freshTables();
  std::int64_t iteration = 0;
  for (auto _ : state) {
    view::prepareImages();
    keepRecordsSmall(++iteration);
  }
}
BENCHMARK(BM_prepareImages)->Unit(benchmark::kMillisecond);

// Answers every wait of one game: no help, go, Done in every human turn, no restart.
void answerPrompts() {
  const auto& texts = headless::texts();
  const std::string last = texts.empty() ? std::string() : texts.back().text;
  if (last.starts_with("Sieger ist")) gameWon = true;
  if (last == "Information gewuenscht ? <j>/<n>" || last == "Neustart ? <J>/<N>") {
    headless::pushKey(78);
  } else if (game::turnOrder[game::gameState.currentSlot] == game::human &&
             game::gameState.result == game::resultRunning) {
    headless::pushClick(1150, 660);
  } else {
    headless::pushKey(32);
  }
}

// Whole games from the information prompt to the declined restart, in virtual time; each
// iteration takes the next of twenty fixed seeds, so runs compare game for game.
void BM_wholeGame(benchmark::State& state) {
  std::uint64_t seed = 0;
  std::int64_t rounds = 0;
  std::int64_t virtualMs = 0;
  std::int64_t decided = 0;
  for (auto _ : state) {
    state.PauseTiming();
    freshTables();
    headless::seed(seed % 20 + 1);
    ++seed;
    headless::setIdleHook(answerPrompts);
    gameWon = false;
    state.ResumeTiming();
    flow::playGame();
    rounds += game::gameState.turnNumber;
    virtualMs += headless::nowMs();
    decided += gameWon ? 1 : 0;
  }
  headless::setIdleHook({});
  state.counters["rounds"] =
      benchmark::Counter(static_cast<double>(rounds), benchmark::Counter::kAvgIterations);
  state.counters["virtual_min"] = benchmark::Counter(static_cast<double>(virtualMs) / 60000.0,
                                                     benchmark::Counter::kAvgIterations);
  state.counters["won"] =
      benchmark::Counter(static_cast<double>(decided), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_wholeGame)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
