// The pixel surfaces and drawing block shared by the raster, text and decoding code.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace platform::surfaces {

// An image slot's picture: 0xAARRGGBB, row by row. Opaque images hold alpha 255 everywhere.
struct Image {
  std::int64_t width = 0, height = 0;
  bool hasAlpha = false;
  std::vector<std::uint32_t> pixels;
};

// The pixels a drawing operation writes to, valid until the next change of an image slot.
struct Target {
  std::int64_t id = screen;
  std::uint32_t* pixels = nullptr;
  std::int64_t width = 0, height = 0;
  // Alpha bits of an opaque pixel: none on the Screen, whose pixels are 0x00RRGGBB.
  std::uint32_t opaque = 0;
};

// Pixel bounds, right and bottom exclusive.
struct Box {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0;
};

// The open block's target; false outside a block or when the block's slot holds no image.
bool drawTarget(Target& target);

// The font slot the open block selected, or -1.
std::int64_t blockFont();

// Clips the rectangle x, y, width, height to the target; false when nothing of it remains.
bool clip(const Target& target, std::int64_t x, std::int64_t y, std::int64_t width,
          std::int64_t height, Box& box);

// Records that the pixels of the box changed (only the Screen keeps account).
void noteChanged(const Target& target, const Box& box);

// A Palette colour (0xBBGGRR) as a pixel's 0xRRGGBB.
std::uint32_t rgbOf(Colour colour);

// Per channel (src * a + dst * (255 - a) + 127) / 255; dst keeps its alpha bits.
inline std::uint32_t blend(std::uint32_t src, std::uint32_t dst, std::uint32_t a) {
  const std::uint32_t inverse = 255 - a;
  const std::uint32_t r = (((src >> 16) & 0xFF) * a + ((dst >> 16) & 0xFF) * inverse + 127) / 255;
  const std::uint32_t g = (((src >> 8) & 0xFF) * a + ((dst >> 8) & 0xFF) * inverse + 127) / 255;
  const std::uint32_t b = ((src & 0xFF) * a + (dst & 0xFF) * inverse + 127) / 255;
  return (dst & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

// Puts a decoded or grabbed picture into a slot; false for a slot number out of range.
bool storeImage(std::int64_t slot, Image image);

// Largest width or height of an image; keeps a corrupt size field from exhausting memory.
constexpr std::int64_t maxImageSide = 16384;

}  // namespace platform::surfaces
