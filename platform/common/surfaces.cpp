// The Screen, the image slots, drawing blocks and the raster operations on them.
#include "platform/common/surfaces.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "platform/common/backend.h"

namespace platform {
namespace {

constexpr std::uint32_t alphaMask = 0xFF000000u;

// Zero-initialised storage: the Screen is black before anything runs, whatever the order of
// static initialisation in the back ends.
std::uint32_t screenBuffer[screenWidth * screenHeight];
std::array<surfaces::Image, imageSlotCount> slots;
backend::Rect changed;

struct Block {
  bool open = false;
  std::int64_t target = screen;
  std::int64_t font = -1;
};
Block block;

bool validSlot(std::int64_t slot) { return slot >= 0 && slot < imageSlotCount; }

const surfaces::Image* imageIn(std::int64_t slot) {
  if (!validSlot(slot) || slots[slot].pixels.empty()) return nullptr;
  return &slots[slot];
}

bool targetOf(std::int64_t id, surfaces::Target& target) {
  if (id == screen) {
    target = {screen, screenBuffer, screenWidth, screenHeight, 0};
    return true;
  }
  if (!validSlot(id) || slots[id].pixels.empty()) return false;
  surfaces::Image& image = slots[id];
  target = {id, image.pixels.data(), image.width, image.height, alphaMask};
  return true;
}

// Clips [start, start + length) to [0, limit).
bool clipRange(std::int64_t start, std::int64_t length, std::int64_t limit, std::int64_t& low,
               std::int64_t& high) {
  if (length <= 0 || start >= limit) return false;
  if (start < 0) {
    length += start;  // start < 0 < length, so this cannot overflow
    start = 0;
    if (length <= 0) return false;
  }
  low = start;
  high = start + std::min(length, limit - start);
  return true;
}

void addChanged(const backend::Rect& rect) {
  if (changed.empty()) {
    changed = rect;
    return;
  }
  changed.x = std::min(changed.x, rect.x);
  changed.y = std::min(changed.y, rect.y);
  changed.right = std::max(changed.right, rect.right);
  changed.bottom = std::max(changed.bottom, rect.bottom);
}

// Copies an image to the block's target; `blended` mixes by the image's alpha.
void copyImage(std::int64_t slot, std::int64_t x, std::int64_t y, bool blended) {
  backend::noteDrawing();
  surfaces::Target target;
  const surfaces::Image* image = imageIn(slot);
  if (image == nullptr || !surfaces::drawTarget(target)) return;
  // An image drawn into itself must be read as it was before the copy.
  surfaces::Image before;
  if (target.id == slot) {
    before = *image;
    image = &before;
  }
  surfaces::Box box;
  if (!surfaces::clip(target, x, y, image->width, image->height, box)) return;
  const bool mix = blended && image->hasAlpha;
  for (std::int64_t row = box.top; row < box.bottom; ++row) {
    const std::uint32_t* src = &image->pixels[(row - y) * image->width + (box.left - x)];
    std::uint32_t* dst = target.pixels + row * target.width + box.left;
    for (std::int64_t column = box.left; column < box.right; ++column, ++src, ++dst) {
      if (!mix) {
        *dst = (*src & ~alphaMask) | target.opaque;
        continue;
      }
      const std::uint32_t a = *src >> 24;
      if (a == 255) {
        *dst = (*src & ~alphaMask) | (*dst & alphaMask);
      } else if (a != 0) {
        *dst = surfaces::blend(*src, *dst, a);
      }
    }
  }
  surfaces::noteChanged(target, box);
}

}  // namespace

namespace surfaces {

bool drawTarget(Target& target) { return block.open && targetOf(block.target, target); }

std::int64_t blockFont() { return block.open ? block.font : -1; }

bool clip(const Target& target, std::int64_t x, std::int64_t y, std::int64_t width,
          std::int64_t height, Box& box) {
  return clipRange(x, width, target.width, box.left, box.right) &&
         clipRange(y, height, target.height, box.top, box.bottom);
}

void noteChanged(const Target& target, const Box& box) {
  if (target.id == screen) addChanged({box.left, box.top, box.right, box.bottom});
}

std::uint32_t rgbOf(Colour colour) {
  const auto bgr = static_cast<std::uint32_t>(colour & 0xFFFFFF);
  return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

bool storeImage(std::int64_t slot, Image image) {
  if (!validSlot(slot)) return false;
  slots[slot] = std::move(image);
  return true;
}

}  // namespace surfaces

namespace backend {

const std::uint32_t* screenPixels() { return screenBuffer; }

Rect takeChangedRect() { return std::exchange(changed, Rect{}); }

std::uint32_t imagePixel(std::int64_t slot, std::int64_t x, std::int64_t y) {
  const surfaces::Image* image = imageIn(slot);
  if (image == nullptr || x < 0 || y < 0 || x >= image->width || y >= image->height) return 0;
  return image->pixels[y * image->width + x];
}

std::int64_t imageWidth(std::int64_t slot) {
  const surfaces::Image* image = imageIn(slot);
  return image == nullptr ? 0 : image->width;
}

std::int64_t imageHeight(std::int64_t slot) {
  const surfaces::Image* image = imageIn(slot);
  return image == nullptr ? 0 : image->height;
}

}  // namespace backend

void clearScreen(Colour colour) {
  backend::noteDrawing();
  std::fill(std::begin(screenBuffer), std::end(screenBuffer), surfaces::rgbOf(colour));
  changed = {0, 0, screenWidth, screenHeight};
}

void beginDraw(std::int64_t target) { block = {true, target, -1}; }

void endDraw() { block = {}; }

void setFont(std::int64_t slot) {
  if (block.open) block.font = slot;
}

void fillBox(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
             Colour colour) {
  backend::noteDrawing();
  surfaces::Target target;
  surfaces::Box box;
  if (!surfaces::drawTarget(target) || !surfaces::clip(target, x, y, width, height, box)) return;
  const std::uint32_t pixel = surfaces::rgbOf(colour) | target.opaque;
  for (std::int64_t row = box.top; row < box.bottom; ++row) {
    std::uint32_t* line = target.pixels + row * target.width;
    std::fill(line + box.left, line + box.right, pixel);
  }
  surfaces::noteChanged(target, box);
}

void fillGradientBox(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height,
                     Colour a, Colour b, std::int64_t row0, std::int64_t row1) {
  backend::noteDrawing();
  surfaces::Target target;
  surfaces::Box box;
  if (!surfaces::drawTarget(target) || !surfaces::clip(target, x, y, width, height, box)) return;
  const std::uint32_t from = surfaces::rgbOf(a);
  const std::uint32_t to = surfaces::rgbOf(b);
  const auto mix = [](std::uint32_t p, std::uint32_t q, int shift, double t) {
    const double start = static_cast<double>((p >> shift) & 0xFF);
    const double end = static_cast<double>((q >> shift) & 0xFF);
    return static_cast<std::uint32_t>(start * (1.0 - t) + end * t) << shift;
  };
  for (std::int64_t row = box.top; row < box.bottom; ++row) {
    double t = 1.0;
    if (row <= row0) {
      t = 0.0;
    } else if (row < row1) {
      t = static_cast<double>(row - row0) / static_cast<double>(row1 - row0);
    }
    const std::uint32_t pixel =
        mix(from, to, 16, t) | mix(from, to, 8, t) | mix(from, to, 0, t) | target.opaque;
    std::uint32_t* line = target.pixels + row * target.width;
    std::fill(line + box.left, line + box.right, pixel);
  }
  surfaces::noteChanged(target, box);
}

void drawImage(std::int64_t slot, std::int64_t x, std::int64_t y) { copyImage(slot, x, y, false); }

void blendImage(std::int64_t slot, std::int64_t x, std::int64_t y) { copyImage(slot, x, y, true); }

bool grabImage(std::int64_t source, std::int64_t slot, std::int64_t x, std::int64_t y,
               std::int64_t width, std::int64_t height) {
  surfaces::Target from;
  if (!validSlot(slot) || !targetOf(source, from)) return false;
  if (width <= 0 || height <= 0 || width > surfaces::maxImageSide ||
      height > surfaces::maxImageSide) {
    return false;
  }
  surfaces::Image image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<std::size_t>(width * height), 0);
  // What lies outside the source is transparent, so such a grab has alpha even from an opaque
  // source: blended, it shows the target there.
  const bool whole = x >= 0 && y >= 0 && x <= from.width - width && y <= from.height - height;
  image.hasAlpha = (source != screen && slots[source].hasAlpha) || !whole;
  const std::uint32_t opaqueFill = source == screen ? alphaMask : 0;
  surfaces::Box box;
  if (surfaces::clip(from, x, y, width, height, box)) {
    for (std::int64_t row = box.top; row < box.bottom; ++row) {
      const std::uint32_t* src = from.pixels + row * from.width + box.left;
      std::uint32_t* dst = &image.pixels[(row - y) * width + (box.left - x)];
      for (std::int64_t column = box.left; column < box.right; ++column) {
        *dst++ = *src++ | opaqueFill;
      }
    }
  }
  slots[slot] = std::move(image);
  return true;
}

bool createImage(std::int64_t slot, std::int64_t width, std::int64_t height) {
  if (!validSlot(slot) || width <= 0 || height <= 0 || width > surfaces::maxImageSide ||
      height > surfaces::maxImageSide) {
    return false;
  }
  surfaces::Image image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<std::size_t>(width * height), alphaMask);
  slots[slot] = std::move(image);
  return true;
}

void releaseImages() {
  for (surfaces::Image& image : slots) image = {};
}

}  // namespace platform
