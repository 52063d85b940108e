// Tests of the Screen, the image slots and the raster operations on them.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/common/backend.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace {

using platform::backend::imagePixel;

constexpr platform::Colour background = 0x302010;  // 0xBBGGRR: shows as 0x102030
constexpr std::uint32_t backgroundRgb = 0x102030;
constexpr std::int64_t scratchSlot = 90;  // slots the game leaves unused
constexpr std::int64_t otherSlot = 91;

class RasterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::reset();
    platform::clearScreen(background);
    platform::backend::takeChangedRect();
  }
};

std::uint32_t screenAt(std::int64_t x, std::int64_t y) {
  return platform::backend::screenPixels()[y * platform::screenWidth + x];
}

// Compares every Screen pixel with the expectation; reports the first few mismatches.
void expectScreen(const std::function<std::uint32_t(std::int64_t, std::int64_t)>& expected,
                  const std::string& label) {
  int reported = 0;
  for (std::int64_t y = 0; y < platform::screenHeight && reported < 3; ++y) {
    for (std::int64_t x = 0; x < platform::screenWidth && reported < 3; ++x) {
      if (screenAt(x, y) != expected(x, y)) {
        ADD_FAILURE() << label << ": pixel (" << x << ", " << y << ") is " << std::hex
                      << screenAt(x, y) << ", expected " << expected(x, y);
        ++reported;
      }
    }
  }
}

bool within(std::int64_t v, std::int64_t low, std::int64_t high) { return v >= low && v < high; }

// An opaque image in which every pixel has its own colour, 0x00RRGGBB = (x + 1, y + 1, 0x55).
std::uint32_t patternAt(std::int64_t x, std::int64_t y) {
  return static_cast<std::uint32_t>(((x + 1) << 16) | ((y + 1) << 8) | 0x55);
}
void makePattern(std::int64_t slot, std::int64_t width, std::int64_t height) {
  ASSERT_TRUE(platform::createImage(slot, width, height));
  platform::beginDraw(slot);
  for (std::int64_t y = 0; y < height; ++y) {
    for (std::int64_t x = 0; x < width; ++x) {
      const std::uint32_t rgb = patternAt(x, y);
      const platform::Colour bgr = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16);
      platform::fillBox(x, y, 1, 1, bgr);
    }
  }
  platform::endDraw();
}

// Puts an image with per-pixel alpha (0xAARRGGBB, row by row) into a slot through the PNG decoder.
void makeAlphaImage(std::int64_t slot, std::int64_t width, const std::vector<std::uint32_t>& argb) {
  std::vector<unsigned char> rgba;
  for (std::uint32_t p : argb) {
    rgba.insert(rgba.end(),
                {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                 static_cast<unsigned char>(p), static_cast<unsigned char>(p >> 24)});
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(argb.size() / static_cast<std::size_t>(width));
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  ASSERT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr));
  std::vector<unsigned char> png(size);
  ASSERT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr));
  ASSERT_TRUE(platform::decodeImage(slot, png.data(), size));
}

struct Placement {
  std::string label;
  std::int64_t x, y;
};

// Positions of a 4 x 3 image against the Screen's edges.
const std::vector<Placement> placements = {
    {"inside", 100, 200},
    {"over the left edge", -2, 50},
    {"over the top edge", 30, -1},
    {"over the right edge", 1278, 9},
    {"over the bottom edge", 7, 718},
    {"over a corner", -3, -2},
    {"beyond the left", -4, 10},
    {"beyond the top", 10, -3},
    {"beyond the right", 1280, 10},
    {"beyond the bottom", 10, 720},
    {"far outside", -5000000000, 5000000000},
};

TEST_F(RasterTest, FillBoxFillsExactlyTheClippedBoxAndReportsIt) {
  struct Case {
    std::string label;
    std::int64_t x, y, width, height;
    std::int64_t left, top, right, bottom;  // what must change; right/bottom exclusive
  };
  const std::vector<Case> cases = {
      {"inside", 10, 20, 30, 5, 10, 20, 40, 25},
      {"negative x", -5, 10, 8, 2, 0, 10, 3, 12},
      {"negative y", 3, -7, 4, 9, 3, 0, 7, 2},
      {"beyond the right edge", 1275, 0, 20, 1, 1275, 0, 1280, 1},
      {"beyond the bottom edge", 0, 715, 1, 100, 0, 715, 1, 720},
      {"larger than the Screen", -10, -10, 5000, 5000, 0, 0, 1280, 720},
      {"left of the Screen", -20, 10, 20, 5, 0, 0, 0, 0},
      {"below the Screen", 10, 720, 5, 5, 0, 0, 0, 0},
      {"zero width", 10, 10, 0, 5, 0, 0, 0, 0},
      {"negative height", 10, 10, 5, -5, 0, 0, 0, 0},
      {"huge extent", 1270, 710, INT64_MAX, INT64_MAX, 1270, 710, 1280, 720},
  };
  for (const Case& c : cases) {
    platform::clearScreen(background);
    platform::backend::takeChangedRect();
    platform::beginDraw(platform::screen);
    platform::fillBox(c.x, c.y, c.width, c.height, 0x563412);
    platform::endDraw();
    expectScreen(
        [&](std::int64_t x, std::int64_t y) {
          return within(x, c.left, c.right) && within(y, c.top, c.bottom) ? 0x123456u
                                                                          : backgroundRgb;
        },
        c.label);
    const platform::backend::Rect changed = platform::backend::takeChangedRect();
    if (c.right > c.left) {
      EXPECT_EQ(changed.x, c.left) << c.label;
      EXPECT_EQ(changed.y, c.top) << c.label;
      EXPECT_EQ(changed.right, c.right) << c.label;
      EXPECT_EQ(changed.bottom, c.bottom) << c.label;
    } else {
      EXPECT_TRUE(changed.empty()) << c.label;
    }
  }
}

TEST_F(RasterTest, NothingIsDrawnOutsideABlockOrIntoAnEmptySlot) {
  platform::fillBox(0, 0, 100, 100, 0xFFFFFF);
  platform::beginDraw(platform::screen);
  platform::endDraw();
  platform::fillGradientBox(0, 0, 100, 100, 0xFFFFFF, 0xFFFFFF, 0, 10);
  makePattern(scratchSlot, 4, 3);
  platform::drawImage(scratchSlot, 0, 0);
  platform::blendImage(scratchSlot, 0, 0);
  platform::releaseImages();
  platform::beginDraw(scratchSlot);  // empty now
  platform::fillBox(0, 0, 100, 100, 0xFFFFFF);
  platform::endDraw();
  platform::beginDraw(platform::screen);
  platform::drawImage(scratchSlot, 0, 0);
  platform::endDraw();
  expectScreen([](std::int64_t, std::int64_t) { return backgroundRgb; }, "untouched");
  EXPECT_TRUE(platform::backend::takeChangedRect().empty());
  EXPECT_EQ(platform::backend::imageWidth(scratchSlot), 0);
}

TEST_F(RasterTest, ChangedRectIsTheUnionOfScreenChangesOnly) {
  platform::beginDraw(platform::screen);
  platform::fillBox(10, 20, 5, 5, 0xFF);
  platform::fillBox(100, 8, 2, 40, 0xFF);
  platform::endDraw();
  ASSERT_TRUE(platform::createImage(scratchSlot, 50, 50));
  platform::beginDraw(scratchSlot);
  platform::fillBox(0, 0, 50, 50, 0xFF);
  platform::endDraw();
  const platform::backend::Rect first = platform::backend::takeChangedRect();
  EXPECT_EQ(first.x, 10);
  EXPECT_EQ(first.y, 8);
  EXPECT_EQ(first.right, 102);
  EXPECT_EQ(first.bottom, 48);
  EXPECT_TRUE(platform::backend::takeChangedRect().empty());
  platform::clearScreen(0);
  const platform::backend::Rect all = platform::backend::takeChangedRect();
  EXPECT_EQ(all.x, 0);
  EXPECT_EQ(all.y, 0);
  EXPECT_EQ(all.right, platform::screenWidth);
  EXPECT_EQ(all.bottom, platform::screenHeight);
}

TEST_F(RasterTest, GradientTruncatesEachChannelPerRowOfTheTarget) {
  // A = (140, 60, 0), B = (30, 250, 255) as 0xBBGGRR.
  constexpr platform::Colour a = 0x003C8C, b = 0xFFFA1E;
  struct Row {
    std::int64_t y;
    std::uint32_t rgb;
  };
  // Row 3: t = 0.06 gives 133.4, 71.4, 15.3; row 49: t = 0.98 gives 32.2, 246.2, 249.9.
  const std::vector<Row> rows = {
      {3, 0x85470F}, {25, 0x559B7F}, {49, 0x20F6F9}, {50, 0x1EFAFF}, {52, 0x1EFAFF}};
  ASSERT_TRUE(platform::createImage(scratchSlot, 8, 60));
  platform::beginDraw(scratchSlot);
  platform::fillGradientBox(2, 3, 5, 100, a, b, 0, 50);
  platform::endDraw();
  for (const Row& r : rows) {
    EXPECT_EQ(imagePixel(scratchSlot, 2, r.y), 0xFF000000u | r.rgb) << "row " << r.y;
    EXPECT_EQ(imagePixel(scratchSlot, 6, r.y), 0xFF000000u | r.rgb) << "row " << r.y;
  }
  EXPECT_EQ(imagePixel(scratchSlot, 1, 10), 0xFF000000u) << "left of the box";
  EXPECT_EQ(imagePixel(scratchSlot, 7, 10), 0xFF000000u) << "right of the box";
  EXPECT_EQ(imagePixel(scratchSlot, 2, 2), 0xFF000000u) << "above the box";

  // On the Screen the rows count from the Screen's top, not from the box's.
  platform::beginDraw(platform::screen);
  platform::fillGradientBox(40, 100, 3, 60, a, b, 100, 150);
  platform::fillGradientBox(60, 100, 3, 10, a, b, 120, 120);  // row 0 = row 1: no division
  platform::endDraw();
  EXPECT_EQ(screenAt(41, 103), 0x85470Fu);
  EXPECT_EQ(screenAt(41, 149), 0x20F6F9u);
  EXPECT_EQ(screenAt(61, 109), 0x8C3C00u);
}

TEST_F(RasterTest, DrawImageCopiesTheWholeImageClipped) {
  makePattern(scratchSlot, 4, 3);
  for (const Placement& p : placements) {
    platform::clearScreen(background);
    platform::beginDraw(platform::screen);
    platform::drawImage(scratchSlot, p.x, p.y);
    platform::endDraw();
    expectScreen(
        [&](std::int64_t x, std::int64_t y) {
          return within(x - p.x, 0, 4) && within(y - p.y, 0, 3) ? patternAt(x - p.x, y - p.y)
                                                                : backgroundRgb;
        },
        p.label);
  }
}

TEST_F(RasterTest, AnImageDrawnIntoItselfIsReadAsItWas) {
  makePattern(scratchSlot, 4, 1);
  platform::beginDraw(scratchSlot);
  platform::drawImage(scratchSlot, 1, 0);
  platform::endDraw();
  for (std::int64_t x = 0; x < 4; ++x) {
    EXPECT_EQ(imagePixel(scratchSlot, x, 0), 0xFF000000u | patternAt(x == 0 ? 0 : x - 1, 0)) << x;
  }
}

TEST_F(RasterTest, DrawImageIgnoresAlpha) {
  makeAlphaImage(scratchSlot, 3, {0x00AA0000, 0x8000BB00, 0xFF0000CC});
  platform::beginDraw(platform::screen);
  platform::drawImage(scratchSlot, 5, 5);
  platform::endDraw();
  EXPECT_EQ(screenAt(5, 5), 0xAA0000u);
  EXPECT_EQ(screenAt(6, 5), 0x00BB00u);
  EXPECT_EQ(screenAt(7, 5), 0x0000CCu);
}

TEST_F(RasterTest, BlendImageMixesByAlpha) {
  // Over a background of (0, 50, 255): alpha 128 gives (200 * 128 + 0 * 127 + 127) / 255 = 100,
  // (100 * 128 + 50 * 127 + 127) / 255 = 75, (0 * 128 + 255 * 127 + 127) / 255 = 127.
  makeAlphaImage(scratchSlot, 4, {0x00FFFFFF, 0xFFC86400, 0x80C86400, 0x01FFFFFF});
  platform::clearScreen(0xFF3200);
  platform::beginDraw(platform::screen);
  platform::blendImage(scratchSlot, 10, 10);
  platform::endDraw();
  EXPECT_EQ(screenAt(10, 10), 0x0032FFu) << "alpha 0 leaves the target";
  EXPECT_EQ(screenAt(11, 10), 0xC86400u) << "alpha 255 replaces it";
  EXPECT_EQ(screenAt(12, 10), 0x644B7Fu) << "alpha 128 mixes";
  EXPECT_EQ(screenAt(13, 10), 0x0133FFu) << "alpha 1 mixes";
}

TEST_F(RasterTest, BlendImageIsClippedAtEveryEdge) {
  // Alpha 0 in the top-left pixel, 255 in the others.
  std::vector<std::uint32_t> argb;
  for (std::int64_t y = 0; y < 3; ++y) {
    for (std::int64_t x = 0; x < 4; ++x) argb.push_back(0xFF000000u | patternAt(x, y));
  }
  argb[0] &= 0x00FFFFFF;
  makeAlphaImage(scratchSlot, 4, argb);
  for (const Placement& p : placements) {
    platform::clearScreen(background);
    platform::beginDraw(platform::screen);
    platform::blendImage(scratchSlot, p.x, p.y);
    platform::endDraw();
    expectScreen(
        [&](std::int64_t x, std::int64_t y) {
          const bool inImage = within(x - p.x, 0, 4) && within(y - p.y, 0, 3);
          return inImage && (x != p.x || y != p.y) ? patternAt(x - p.x, y - p.y) : backgroundRgb;
        },
        p.label);
  }
}

TEST_F(RasterTest, BlendingKeepsTheTargetImagesAlpha) {
  makeAlphaImage(otherSlot, 2, {0x00000000, 0x40102030});
  makeAlphaImage(scratchSlot, 2, {0xFFFF0000, 0x80FF0000});
  platform::beginDraw(otherSlot);
  platform::blendImage(scratchSlot, 0, 0);
  platform::endDraw();
  EXPECT_EQ(imagePixel(otherSlot, 0, 0), 0x00FF0000u);
  // Red (255 * 128 + 16 * 127 + 127) / 255 = 136, green 16, blue 24.
  EXPECT_EQ(imagePixel(otherSlot, 1, 0), 0x40881018u);
}

TEST_F(RasterTest, BlendImageOfAnOpaqueImageCopiesIt) {
  makePattern(scratchSlot, 4, 3);
  platform::beginDraw(platform::screen);
  platform::blendImage(scratchSlot, 20, 30);
  platform::endDraw();
  expectScreen(
      [](std::int64_t x, std::int64_t y) {
        return within(x - 20, 0, 4) && within(y - 30, 0, 3) ? patternAt(x - 20, y - 30)
                                                            : backgroundRgb;
      },
      "opaque blend");
}

TEST_F(RasterTest, CreateImageMakesAnOpaqueBlackImage) {
  makePattern(scratchSlot, 4, 3);
  ASSERT_TRUE(platform::createImage(scratchSlot, 7, 5));
  EXPECT_EQ(platform::backend::imageWidth(scratchSlot), 7);
  EXPECT_EQ(platform::backend::imageHeight(scratchSlot), 5);
  for (std::int64_t y = 0; y < 5; ++y) {
    for (std::int64_t x = 0; x < 7; ++x) EXPECT_EQ(imagePixel(scratchSlot, x, y), 0xFF000000u);
  }
  EXPECT_EQ(imagePixel(scratchSlot, 7, 0), 0u) << "outside the image";
  struct Bad {
    std::int64_t slot, width, height;
  };
  for (const Bad& bad : {Bad{-1, 5, 5}, Bad{platform::imageSlotCount, 5, 5}, Bad{otherSlot, 0, 5},
                         Bad{otherSlot, 5, -1}, Bad{otherSlot, INT64_MAX, INT64_MAX}}) {
    EXPECT_FALSE(platform::createImage(bad.slot, bad.width, bad.height))
        << bad.slot << " " << bad.width << " x " << bad.height;
  }
}

TEST_F(RasterTest, GrabImageCopiesTheRectangleWithItsAlpha) {
  makeAlphaImage(otherSlot, 3,
                 {0x00112233, 0x80445566, 0xFF778899,  //
                  0x10AABBCC, 0x20DDEEFF, 0x30010203});
  ASSERT_TRUE(platform::grabImage(otherSlot, scratchSlot, 1, 0, 2, 2));
  EXPECT_EQ(platform::backend::imageWidth(scratchSlot), 2);
  EXPECT_EQ(platform::backend::imageHeight(scratchSlot), 2);
  EXPECT_EQ(imagePixel(scratchSlot, 0, 0), 0x80445566u);
  EXPECT_EQ(imagePixel(scratchSlot, 1, 0), 0xFF778899u);
  EXPECT_EQ(imagePixel(scratchSlot, 0, 1), 0x20DDEEFFu);
  EXPECT_EQ(imagePixel(scratchSlot, 1, 1), 0x30010203u);
  // The grab blends as its source would: alpha 0x80 over the background.
  platform::beginDraw(platform::screen);
  platform::blendImage(scratchSlot, 0, 0);
  platform::endDraw();
  EXPECT_EQ(screenAt(0, 0), 0x2A3B4Bu);
}

TEST_F(RasterTest, GrabImageBeyondTheSourceIsTransparentThere) {
  platform::beginDraw(platform::screen);
  platform::fillBox(0, 0, 1, 1, 0x0000FF);
  platform::endDraw();
  ASSERT_TRUE(platform::grabImage(platform::screen, scratchSlot, -1, -1, 3, 3));
  EXPECT_EQ(imagePixel(scratchSlot, 0, 0), 0u);
  EXPECT_EQ(imagePixel(scratchSlot, 2, 0), 0u);
  EXPECT_EQ(imagePixel(scratchSlot, 1, 1), 0xFFFF0000u) << "Screen pixels are opaque";
  EXPECT_EQ(imagePixel(scratchSlot, 2, 2), 0xFF000000u | backgroundRgb);
  platform::clearScreen(0xFFFFFF);
  platform::beginDraw(platform::screen);
  platform::blendImage(scratchSlot, 10, 10);
  platform::endDraw();
  EXPECT_EQ(screenAt(10, 10), 0xFFFFFFu) << "the part outside the source shows the target";
  EXPECT_EQ(screenAt(11, 11), 0xFF0000u);

  EXPECT_FALSE(platform::grabImage(platform::screen, scratchSlot, 0, 0, 0, 5));
  EXPECT_FALSE(platform::grabImage(platform::screen, platform::imageSlotCount, 0, 0, 5, 5));
  platform::releaseImages();
  EXPECT_FALSE(platform::grabImage(otherSlot, scratchSlot, 0, 0, 5, 5)) << "empty source";
}

TEST_F(RasterTest, ReleaseImagesEmptiesEverySlot) {
  makePattern(0, 2, 2);
  makePattern(platform::imageSlotCount - 1, 2, 2);
  platform::releaseImages();
  for (std::int64_t slot : {std::int64_t{0}, platform::imageSlotCount - 1}) {
    EXPECT_EQ(platform::backend::imageWidth(slot), 0);
    EXPECT_EQ(platform::backend::imageHeight(slot), 0);
    EXPECT_EQ(imagePixel(slot, 0, 0), 0u);
  }
}

}  // namespace
