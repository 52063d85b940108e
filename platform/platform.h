// The platform interface: every operation the game asks of the machine.
//
// Two back ends implement it, chosen at link time: platform/sdl (the desktop
// window) and platform/headless (virtual clock and scripted input for tests).
// The surfaces, text and image decoding under platform/common are shared by both,
// so drawing is pixel-exact and deterministic on either.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace platform {

// A colour as the Palette holds it: red in the low byte, then green, then blue.
using Colour = std::int64_t;

constexpr std::int64_t screenWidth = 1280;
constexpr std::int64_t screenHeight = 720;

// Drawing targets: the Screen, or the number of an image slot.
constexpr std::int64_t screen = -1;
constexpr std::int64_t imageSlotCount = 104;
constexpr std::int64_t fontSlotCount = 4;

// Window events, translated at the boundary. `resized` reports a size change
// that a window manager forced on the window (tiling managers do), so the
// cursor scaling can follow it; `other` is everything the game ignores.
enum class EventKind {
  keyReleased,
  leftPressed,
  rightPressed,
  minimised,
  maximised,
  restored,
  closeRequested,
  resized,
  other,
};

struct Event {
  EventKind kind = EventKind::other;
  std::int64_t key = 0;  // Windows virtual-key code of a released key, else 0
};

// Start-up checks (each true when the system can be used) and shut-down.
bool openDisplaySystem();
bool openKeyboard();
bool openMouse();
bool openWindow(std::string_view title, std::int64_t width, std::int64_t height);
bool openScreen();
void setFrameRate(std::int64_t perSecond);
void closeKeyboard();
void closeMouse();
void closeScreen();
void closeDisplaySystem();
void closeWindow();
void releaseImages();
void releaseFonts();
void showError(std::string_view title, std::string_view text);

// Input. pollEvent takes one event without waiting; false when none is queued. A back
// end may pass over events of kind `other` instead of handing them out one by one, but
// a move of the cursor comes as an event of its own before a press that follows it.
bool pollEvent(Event& event);
std::int64_t eventKey();  // virtual-key code of the key-release event taken last
std::int64_t mouseX();    // cursor in client pixels; -1 outside the client area
std::int64_t mouseY();
std::int64_t windowWidth();  // current client size
std::int64_t windowHeight();

// Time and chance.
void sleepMs(std::int64_t milliseconds);
std::int64_t randomNumber(std::int64_t min, std::int64_t max);  // uniform, both ends included

// The Screen and drawing. Every drawing operation between beginDraw and endDraw
// goes to the block's target and is clipped to it.
void present();
void clearScreen(Colour colour);
void beginDraw(std::int64_t target);
void endDraw();
void fillBox(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height, Colour colour);
void fillGradientBox(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
                     Colour a, Colour b, std::int64_t row0, std::int64_t row1);
void setFont(std::int64_t slot);
// Draws UTF-8 text with the top of its character cell at y; returns x plus its advance.
std::int64_t drawText(std::int64_t x, std::int64_t y, std::string_view text, Colour colour);
// The advance width of the text in the block's font, without drawing it.
std::int64_t textWidth(std::string_view text);
void drawImage(std::int64_t slot, std::int64_t x, std::int64_t y);
void blendImage(std::int64_t slot, std::int64_t x, std::int64_t y);

// Resources.
bool loadFont(std::int64_t slot, std::string_view face, std::int64_t points, bool bold);
bool decodeImage(std::int64_t slot, const unsigned char* data, std::size_t size);
bool grabImage(std::int64_t source, std::int64_t slot, std::int64_t x, std::int64_t y,
               std::int64_t width, std::int64_t height);
bool createImage(std::int64_t slot, std::int64_t width, std::int64_t height);

}  // namespace platform
