// What the shared surface code offers the back ends, and the hooks each back end defines.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.h"

namespace platform::backend {

// A rectangle of Screen pixels, x and y inclusive, right and bottom exclusive.
struct Rect {
  std::int64_t x = 0, y = 0, right = 0, bottom = 0;
  bool empty() const { return right <= x || bottom <= y; }
};

// The Screen's pixels, row by row, 0x00RRGGBB, screenWidth per row.
const std::uint32_t* screenPixels();

// The part of the Screen changed since the last call; resets it to empty.
Rect takeChangedRect();

// Inspection of an image slot, for the headless back end's tests:
// 0xAARRGGBB, or 0 outside the image; size 0 x 0 for an empty slot.
std::uint32_t imagePixel(std::int64_t slot, std::int64_t x, std::int64_t y);
std::int64_t imageWidth(std::int64_t slot);
std::int64_t imageHeight(std::int64_t slot);

// Hooks the shared code calls; each back end defines them.
void noteDrawing();  // any drawing operation ran
void noteText(std::int64_t target, std::int64_t x, std::int64_t y, std::string_view text, Colour colour);

}  // namespace platform::backend
