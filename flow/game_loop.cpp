// The program: start-up checks, window and resources, the loop of games, the turn loop, shut-down.
#include "flow/game_loop.h"

#include <cstdint>
#include <string_view>

#include "flow/help.h"
#include "flow/human_turn.h"
#include "flow/input.h"
#include "game/accounting.h"
#include "game/computer.h"
#include "game/new_game.h"
#include "game/tables.h"
#include "platform/platform.h"
#include "view/board.h"
#include "view/palette.h"
#include "view/panel.h"
#include "view/resources.h"

namespace flow {

namespace {

constexpr std::int64_t idlePauseMs = 5;
constexpr std::int64_t finalPauseMs = 1000;
constexpr std::int64_t frameRate = 50;
constexpr std::string_view errorTitle = "Fehler";

// Prompts wait for a key or click made after the message is shown.
void prompt(std::string_view text) {
  view::showMessage(text);
  keyCode = 0;
  waitForKey();
}

std::string_view endMessage(std::int64_t result) {
  switch (result) {
    case 4:
      return "Sieger ist PC-1 <Taste>";
    case 5:
      return "Sieger ist PC-2 <Taste>";
    case 6:
      return "Sieger ist PC-3 <Taste>";
    case 7:
      return "Sieger ist YOU  <Taste>";
    default:
      return "ABBRUCH - <Taste druecken>";
  }
}

// The three checks, then window and Screen; false after reporting the first failure.
bool openPlatform() {
  struct Check {
    bool (*open)();
    std::string_view failure;
  };
  static constexpr Check checks[] = {
      {platform::openDisplaySystem, "Sprite-System kann nicht geöffnet werden"},
      {platform::openKeyboard, "Keyboard kann nicht geöffnet werden"},
      {platform::openMouse, "Maus kann nicht aktiviert werden"},
  };
  for (const Check& check : checks) {
    if (!check.open()) {
      platform::showError(errorTitle, check.failure);
      return false;
    }
  }
  if (!platform::openWindow("TERRANOX", platform::screenWidth, platform::screenHeight)) {
    platform::showError(errorTitle, "Fenster kann nicht geöffnet werden");
    return false;
  }
  if (!platform::openScreen()) {
    platform::showError(errorTitle, "Bildschirm kann nicht geöffnet werden");
    return false;
  }
  return true;
}

bool isComputer(std::int64_t entry) { return entry >= 1 && entry <= 3; }

}  // namespace

void closePlatform() {
  platform::closeKeyboard();
  platform::closeMouse();
  platform::closeScreen();
  platform::closeDisplaySystem();
  platform::closeWindow();
  platform::releaseImages();
  platform::releaseFonts();
}

void runTurnLoop() {
  auto& state = game::gameState;
  while (state.result <= 0) {
    platform::Event event;
    if (platform::pollEvent(event)) {
      handleEvent(modeDrop, event);
    } else {
      platform::sleepMs(idlePauseMs);
    }
    // Each test reads the slot afresh: a computer's last move, the human turn
    // and the accounting can all follow one another in one pass.
    if (isComputer(game::turnOrder[state.currentSlot])) {
      game::computerMove(game::turnOrder[state.currentSlot]);
    }
    if (game::turnOrder[state.currentSlot] == game::human) humanTurn();
    if (game::turnOrder[state.currentSlot] == 5) game::runAccounting();
  }
}

bool playGame() {
  auto& state = game::gameState;
  platform::clearScreen(0);
  view::drawBackdrop();
  view::drawFooter();
  prompt("Information gewuenscht ? <j>/<n>");
  view::clearMessageLine();
  if (keyCode == keyJ) showHelp();

  view::drawBackdrop();
  view::drawFooter();
  view::drawBoard();
  view::drawDoneButton(view::doneNormal);
  game::newGame();  // also clears an abort recorded at the prompt or in the help pages

  prompt("Jetzt geht's los <Taste druecken>");
  view::clearMessageLine();
  if (state.result != game::resultAborted) {
    recordClientSize();
    state.turnNumber = 1;
    view::drawTurnNumber();
    keyCode = 0;
    runTurnLoop();
  }

  prompt(endMessage(state.result));
  prompt("Neustart ? <J>/<N>");
  state.result = keyCode == keyJ ? game::resultRunning : game::resultAborted;
  view::clearMessageLine();
  return state.result == game::resultRunning;
}

int runProgram() {
  game::resetTables();
  resetInput();
  view::loadFonts();
  if (openPlatform()) {
    platform::setFrameRate(frameRate);
    view::initPalette();
    view::prepareImages();
    while (playGame()) {
    }
    view::drawBackdrop();
    platform::sleepMs(finalPauseMs);
  }
  closePlatform();
  return 0;
}

}  // namespace flow
