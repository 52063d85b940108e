// Control of the headless back end: scripted input, virtual time, records of what was shown.
//
// Tests link this back end instead of the window. Time is virtual: sleepMs and
// the pacing of present advance the clock without waiting. Input comes from a
// script of events; when the script runs dry while the game sits waiting for
// input (polls that find nothing, with no drawing in between), pollEvent
// throws ScriptEnded, so no test can hang.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace headless {

struct ScriptEnded {};

// Back to a fresh state: empty script and records, clock 0, client 1280 x 720,
// cursor at (0, 0), window closed, no forced draws, every check passing,
// Screen black. Fonts and images stay loaded.
void reset();

// --- The script. Events are taken in the order they are pushed.
void pushEvent(platform::EventKind kind, std::int64_t key = 0);
void pushKey(std::int64_t virtualKey);  // a key release
// Queues a mouse movement: the cursor moves when the game takes this event
// (an `other` event for the game), so the next sample of the cursor sees it.
void pushMove(std::int64_t x, std::int64_t y);
// A movement to (x, y) followed by a press of the left or right button.
void pushClick(std::int64_t x, std::int64_t y, bool right = false);
// Maximise to the given client size, and restore to 1280 x 720.
void pushMaximise(std::int64_t width, std::int64_t height);
void pushRestore();
void setCursor(std::int64_t x, std::int64_t y);  // at once, without an event
void setClientSize(std::int64_t width, std::int64_t height);  // at once, without an event
std::size_t eventsLeft();
// Called whenever pollEvent finds the script empty; it may push events.
void setIdleHook(std::function<void()> hook);
// How many empty polls without drawing count as "waiting with nothing to come".
void setDryLimit(std::int64_t polls);

// --- Virtual time.
std::int64_t nowUs();
std::int64_t nowMs();
const std::vector<std::int64_t>& sleeps();        // every sleepMs argument, in order
const std::vector<std::int64_t>& presentTimesUs();  // virtual time of every present
std::int64_t presentCount();

// --- Texts drawn, in order, with where, in which colour and when.
struct TextRecord {
  std::string text;
  std::int64_t x = 0, y = 0;
  platform::Colour colour = 0;
  std::int64_t target = platform::screen;
  std::int64_t timeUs = 0;
};
const std::vector<TextRecord>& texts();
void clearRecords();  // sleeps, presents and texts

// --- The Screen.
std::uint32_t pixel(std::int64_t x, std::int64_t y);  // 0xRRGGBB
std::uint32_t imagePixel(std::int64_t slot, std::int64_t x, std::int64_t y);  // 0xAARRGGBB
std::vector<std::uint32_t> screenCopy();  // 1280 x 720, row by row
bool dumpScreen(const std::string& path);  // PNG

// --- The random source.
void seed(std::uint64_t value);
// Queue of values that randomNumber returns before it draws again; a forced
// value outside the asked range is a test fault and aborts the run.
void forceDraws(const std::vector<std::int64_t>& values);
std::size_t forcedDrawsLeft();
std::int64_t drawCount();  // calls of randomNumber since reset

// --- Start-up checks and the window.
void failCheck(int which);  // 1 display system, 2 keyboard, 3 mouse
struct ErrorBox {
  std::string title, text;
};
const std::vector<ErrorBox>& errors();
bool windowOpened();  // openWindow ran since reset
bool windowOpen();    // opened and not yet closed
std::string windowTitle();
std::vector<std::string> shutdownLog();  // names of the close/release calls, in order

}  // namespace headless
