// Input mapping: window events become key and command codes; the input state.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace flow {

// Last key (Windows virtual-key code) or command code (990 + panelCode); 0 nothing.
extern std::int64_t keyCode;
extern std::int64_t panelCode;  // region under the cursor, from panelHit
extern std::int64_t cursorX;    // cursor in Screen pixels, sampled by the human turn
extern std::int64_t cursorY;
extern std::int64_t clientWidth;  // client size as last recorded, for the cursor scaling
extern std::int64_t clientHeight;

// Key codes the game gives a meaning.
constexpr std::int64_t keyEsc = 27;
constexpr std::int64_t keyLeft = 37;
constexpr std::int64_t keyUp = 38;
constexpr std::int64_t keyRight = 39;
constexpr std::int64_t keyDown = 40;
constexpr std::int64_t keyA = 65;
constexpr std::int64_t keyJ = 74;
constexpr std::int64_t keyS = 83;
constexpr std::int64_t keyY = 89;

// Panel regions and the command codes of presses on them.
constexpr std::int64_t panelNone = 0;
constexpr std::int64_t panelDone = 8;
constexpr std::int64_t panelBoard = 9;
constexpr std::int64_t commandBase = 990;
constexpr std::int64_t commandDone = 998;
constexpr std::int64_t commandBoard = 999;

// Mode 1 (computer turns, accounting): codes are dropped after mapping.
// Mode 2 (human turn, prompts): the code is left for the caller.
constexpr std::int64_t modeDrop = 1;
constexpr std::int64_t modeKeep = 2;

void resetInput();  // all input state 0
// Records the window's client size; a size of 0 (read while minimised) keeps the last one.
void recordClientSize();
void handleEvent(std::int64_t mode, const platform::Event& event);
std::int64_t panelHit();
void waitForKey();

}  // namespace flow
