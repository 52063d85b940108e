// The program as a whole on the headless back end: start-up checks, prompts, abort, restart, exit.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "flow/game_loop.h"
#include "flow/input.h"
#include "game/tables.h"
#include "platform/common/backend.h"
#include "support/fixture.h"
#include "view/resources.h"

namespace {

using testing_support::messages;

constexpr std::int64_t keyN = 78;
constexpr std::int64_t keySpace = 32;

class GameLoopTest : public testing_support::GameTest {};

// Index of the first message equal to text at or after position from; -1 if none.
std::ptrdiff_t find(const std::vector<std::string>& all, const std::string& text,
                    std::ptrdiff_t from = 0) {
  const auto it = std::find(all.begin() + from, all.end(), text);
  return it == all.end() ? -1 : it - all.begin();
}

TEST_F(GameLoopTest, FailedStartupCheckReportsOnceOpensNoWindowAndExitsZero) {
  const char* failures[] = {"Sprite-System kann nicht geöffnet werden",
                            "Keyboard kann nicht geöffnet werden",
                            "Maus kann nicht aktiviert werden"};
  for (int check = 1; check <= 3; ++check) {
    SCOPED_TRACE(check);
    headless::reset();
    headless::failCheck(check);
    EXPECT_EQ(flow::runProgram(), 0);
    ASSERT_EQ(headless::errors().size(), 1u);
    EXPECT_EQ(headless::errors()[0].title, "Fehler");
    EXPECT_EQ(headless::errors()[0].text, failures[check - 1]);
    EXPECT_FALSE(headless::windowOpened());
    EXPECT_EQ(headless::presentCount(), 0);
  }
}

TEST_F(GameLoopTest, EscAtStartPromptAbortsThenNEndsAfterTheBackdropHeldOneSecond) {
  for (const std::int64_t key : {keyN, flow::keyEsc, keySpace, keyN}) headless::pushKey(key);
  EXPECT_EQ(flow::runProgram(), 0);

  const auto all = messages();
  const auto info = find(all, "Information gewuenscht ? <j>/<n>");
  const auto start = find(all, "Jetzt geht's los <Taste druecken>", info);
  const auto abort = find(all, "ABBRUCH - <Taste druecken>", start);
  const auto restart = find(all, "Neustart ? <J>/<N>", abort);
  EXPECT_EQ(info, 0);
  EXPECT_GT(start, info);
  EXPECT_EQ(abort, start + 1);
  EXPECT_EQ(restart, abort + 1);
  EXPECT_EQ(static_cast<std::ptrdiff_t>(all.size()), restart + 1);

  EXPECT_EQ(headless::sleeps().back(), 1000);
  EXPECT_EQ(headless::shutdownLog(),
            (std::vector<std::string>{"closeKeyboard", "closeMouse", "closeScreen",
                                      "closeDisplaySystem", "closeWindow"}));
  EXPECT_EQ(headless::windowTitle(), "TERRANOX");
  EXPECT_FALSE(headless::windowOpen());
  EXPECT_EQ(headless::eventsLeft(), 0u);
  // The board of the skipped game was drawn before the abort.
  std::int64_t land = 0;
  for (int c = 1; c <= 11; ++c) {
    for (int r = 1; r <= 7; ++r) land += game::board[c][r].terrain >= 11;
  }
  EXPECT_GE(land, 22);
}

TEST_F(GameLoopTest, JAtRestartStartsANewGame) {
  for (const std::int64_t key : {keyN, flow::keyEsc, keySpace, flow::keyJ, keyN, flow::keyEsc,
                                 keySpace, keyN}) {
    headless::pushKey(key);
  }
  EXPECT_EQ(flow::runProgram(), 0);
  const auto all = messages();
  EXPECT_EQ(std::count(all.begin(), all.end(), "Information gewuenscht ? <j>/<n>"), 2);
  EXPECT_EQ(std::count(all.begin(), all.end(), "Neustart ? <J>/<N>"), 2);
  EXPECT_EQ(headless::eventsLeft(), 0u);
}

TEST_F(GameLoopTest, EscClosingTheHelpDoesNotAbortTheGame) {
  // J opens the help, Esc leaves it; the game then starts and runs its turn loop.
  for (const std::int64_t key : {flow::keyJ, flow::keyEsc, keySpace}) headless::pushKey(key);
  EXPECT_THROW(flow::runProgram(), headless::ScriptEnded);
  EXPECT_EQ(game::gameState.result, game::resultRunning);
  EXPECT_GE(game::gameState.turnNumber, 1);
  const auto all = messages();
  EXPECT_EQ(find(all, "ABBRUCH - <Taste druecken>"), -1);
  EXPECT_NE(find(all, "Beenden <esc> ; Blaettern <re> <li>"), -1);
}

TEST_F(GameLoopTest, EscDuringAComputerTurnAbortsAfterThePass) {
  // The player: Done on every human turn, Esc once a computer player is moving,
  // N at every prompt after the abort.
  bool escSent = false;
  std::size_t messagesAtEsc = 0;
  headless::setIdleHook([&escSent, &messagesAtEsc] {
    const auto& state = game::gameState;
    const std::int64_t entry = game::turnOrder[state.currentSlot];
    if (state.result == game::resultAborted) {
      headless::pushKey(keyN);
    } else if (entry == game::human) {
      headless::pushClick(1150, 660);
    } else if (entry >= 1 && entry <= 3 && !escSent && state.turnNumber >= 1) {
      headless::pushKey(flow::keyEsc);
      escSent = true;
      messagesAtEsc = messages().size();
    }
  });
  headless::pushKey(keyN);
  headless::pushKey(keySpace);
  EXPECT_EQ(flow::runProgram(), 0);
  ASSERT_TRUE(escSent);
  const auto all = messages();
  const auto abort = find(all, "ABBRUCH - <Taste druecken>");
  ASSERT_GT(abort, 0);
  // The pass that took the Esc still ran: the computer player made its move.
  ASSERT_GT(static_cast<std::size_t>(abort), messagesAtEsc);
  EXPECT_EQ(all[messagesAtEsc].rfind("PC-", 0), 0u) << all[messagesAtEsc];
  EXPECT_EQ(find(all, "Neustart ? <J>/<N>", abort), abort + 1);
}

}  // namespace
