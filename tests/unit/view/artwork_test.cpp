// The built-in pictures: formats, tile transparency, distinct tiles, sea and backdrop colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "assets/embedded.h"
#include "platform/common/backend.h"
#include "platform/platform.h"

namespace {

// A slot the game never uses, so decoding here disturbs no prepared image.
constexpr std::int64_t scratchSlot = 60;
constexpr int tileSize = 95;

struct Decoded {
  int width = 0, height = 0;
  std::vector<std::uint32_t> argb;
  std::uint32_t at(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
};

Decoded decode(std::span<const unsigned char> bytes) {
  Decoded d;
  if (!platform::decodeImage(scratchSlot, bytes.data(), bytes.size())) return d;
  d.width = static_cast<int>(platform::backend::imageWidth(scratchSlot));
  d.height = static_cast<int>(platform::backend::imageHeight(scratchSlot));
  for (int y = 0; y < d.height; ++y) {
    for (int x = 0; x < d.width; ++x)
      d.argb.push_back(platform::backend::imagePixel(scratchSlot, x, y));
  }
  return d;
}

int alphaOf(std::uint32_t argb) { return static_cast<int>(argb >> 24); }
int redOf(std::uint32_t argb) { return static_cast<int>((argb >> 16) & 0xFF); }
int greenOf(std::uint32_t argb) { return static_cast<int>((argb >> 8) & 0xFF); }
int blueOf(std::uint32_t argb) { return static_cast<int>(argb & 0xFF); }

int tileLeft(int n) { return 3 + 100 * ((n - 11) % 3); }
int tileTop(int n) { return 3 + 100 * ((n - 11) / 3); }

// Hue sector 0..5 (red, yellow, green, cyan, blue, magenta), or -1 for a greyish pixel.
int hueSector(std::uint32_t argb) {
  const int r = redOf(argb), g = greenOf(argb), b = blueOf(argb);
  const int high = std::max({r, g, b}), low = std::min({r, g, b});
  if (high < 40 || high - low < high / 4) return -1;
  double hue = 0;
  const double span = high - low;
  if (high == r)
    hue = std::fmod((g - b) / span + 6, 6);
  else if (high == g)
    hue = (b - r) / span + 2;
  else
    hue = (r - g) / span + 4;
  return static_cast<int>(hue + 0.5) % 6;
}

TEST(ArtworkTest, BuiltInPicturesDecodeToTheirSizeAndFormat) {
  struct Case {
    std::string name;
    std::span<const unsigned char> bytes;
    int width, height;
    bool png;
  };
  const Case cases[] = {
      {"backdrop", assets::backdropJpeg(), 1280, 720, false},
      {"tile sheet", assets::tileSheetPng(), 320, 620, true},
      {"sea", assets::seaJpeg(), 1094, 685, false},
      {"icon", assets::iconPng(), 64, 64, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_GT(c.bytes.size(), 32u);
    if (c.png) {
      // The header chunk: 8-bit samples (byte 24), colour type 6 = RGB with alpha (byte 25).
      EXPECT_EQ(c.bytes[0], 0x89);
      EXPECT_EQ(c.bytes[24], 8);
      EXPECT_EQ(c.bytes[25], 6);
    } else {
      EXPECT_EQ(c.bytes[0], 0xFF);
      EXPECT_EQ(c.bytes[1], 0xD8);
    }
    const Decoded d = decode(c.bytes);
    EXPECT_EQ(d.width, c.width);
    EXPECT_EQ(d.height, c.height);
  }
}

TEST(ArtworkTest, TileSheetIsTransparentBesideTheTilesAndOpaqueOnTheirLand) {
  const Decoded sheet = decode(assets::tileSheetPng());
  ASSERT_EQ(sheet.width, 320);
  ASSERT_EQ(sheet.height, 620);
  std::vector<int> tileOf(static_cast<std::size_t>(320 * 620), 0);
  for (int n = 11; n <= 22; ++n) {
    for (int y = 0; y < tileSize; ++y) {
      for (int x = 0; x < tileSize; ++x) tileOf[(tileTop(n) + y) * 320 + tileLeft(n) + x] = n;
    }
  }
  int strayPixels = 0;
  for (int y = 0; y < 620; ++y) {
    for (int x = 0; x < 320; ++x) {
      if (tileOf[y * 320 + x] == 0 && alphaOf(sheet.at(x, y)) != 0) ++strayPixels;
    }
  }
  EXPECT_EQ(strayPixels, 0) << "pixels outside the twelve tiles must be fully transparent";
  for (int n = 11; n <= 22; ++n) {
    SCOPED_TRACE("tile " + std::to_string(n));
    const int left = tileLeft(n), top = tileTop(n), last = tileSize - 1;
    for (const auto& [cx, cy] : {std::array{0, 0}, {last, 0}, {0, last}, {last, last}}) {
      EXPECT_EQ(alphaOf(sheet.at(left + cx, top + cy)), 0) << "corner " << cx << "," << cy;
    }
    // The land fills the tile up to its coast band, and the marks' square is fully opaque.
    int notOpaque = 0;
    for (int y = 6; y <= 88; ++y) {
      for (int x = 6; x <= 88; ++x) notOpaque += alphaOf(sheet.at(left + x, top + y)) != 255;
    }
    EXPECT_EQ(notOpaque, 0);
    // Redrawing a cell blends its tile over itself, which changes any half-transparent pixel.
    int partial = 0;
    for (int y = 0; y < tileSize; ++y) {
      for (int x = 0; x < tileSize; ++x) {
        const int alpha = alphaOf(sheet.at(left + x, top + y));
        partial += alpha != 0 && alpha != 255;
      }
    }
    EXPECT_EQ(partial, 0);
  }
}

TEST(ArtworkTest, EveryTileCoastBothReachesAndLeavesEachSide) {
  // Land that runs off a side joins the neighbour's; sea on the same side keeps the coast jagged.
  const Decoded sheet = decode(assets::tileSheetPng());
  ASSERT_EQ(sheet.width, 320);
  for (int n = 11; n <= 22; ++n) {
    const int left = tileLeft(n), top = tileTop(n), last = tileSize - 1;
    for (int side = 0; side < 4; ++side) {
      int land = 0, sea = 0;
      for (int t = 0; t < tileSize; ++t) {
        const int x = side == 0 ? 0 : side == 1 ? last : t;
        const int y = side == 2 ? 0 : side == 3 ? last : t;
        const int alpha = alphaOf(sheet.at(left + x, top + y));
        land += alpha == 255;
        sea += alpha == 0;
      }
      EXPECT_GE(land, 5) << "tile " << n << " side " << side;
      EXPECT_GE(sea, 15) << "tile " << n << " side " << side;
    }
  }
}

TEST(ArtworkTest, NoTwoTilesLookAlike) {
  const Decoded sheet = decode(assets::tileSheetPng());
  ASSERT_EQ(sheet.width, 320);
  struct Summary {
    std::array<double, 3> mean{};
    std::array<double, 64> histogram{};  // four levels per channel, as fractions of the land
  };
  std::array<Summary, 12> tiles{};
  for (int n = 11; n <= 22; ++n) {
    Summary& s = tiles[n - 11];
    int count = 0;
    for (int y = 15; y <= 79; ++y) {
      for (int x = 15; x <= 79; ++x) {
        const std::uint32_t p = sheet.at(tileLeft(n) + x, tileTop(n) + y);
        s.mean[0] += redOf(p);
        s.mean[1] += greenOf(p);
        s.mean[2] += blueOf(p);
        s.histogram[(redOf(p) / 64) * 16 + (greenOf(p) / 64) * 4 + blueOf(p) / 64] += 1;
        ++count;
      }
    }
    for (double& m : s.mean) m /= count;
    for (double& h : s.histogram) h /= count;
  }
  for (int a = 0; a < 12; ++a) {
    for (int b = a + 1; b < 12; ++b) {
      const double meanDistance =
          std::hypot(tiles[a].mean[0] - tiles[b].mean[0], tiles[a].mean[1] - tiles[b].mean[1],
                     tiles[a].mean[2] - tiles[b].mean[2]);
      double histogramDistance = 0;
      for (std::size_t i = 0; i < 64; ++i) {
        histogramDistance += std::fabs(tiles[a].histogram[i] - tiles[b].histogram[i]);
      }
      EXPECT_TRUE(meanDistance > 15 || histogramDistance > 0.5)
          << "tiles " << a + 11 << " and " << b + 11 << ": mean colours " << meanDistance
          << " apart, histograms " << histogramDistance;
    }
  }
}

TEST(ArtworkTest, SeaIsDarkBlueWater) {
  const Decoded sea = decode(assets::seaJpeg());
  ASSERT_EQ(sea.width, 1094);
  std::int64_t blueFirst = 0, brightness = 0;
  for (const std::uint32_t p : sea.argb) {
    blueFirst += blueOf(p) > redOf(p) + 20 && blueOf(p) > greenOf(p);
    brightness += redOf(p) + greenOf(p) + blueOf(p);
  }
  const auto pixels = static_cast<std::int64_t>(sea.argb.size());
  EXPECT_GT(blueFirst, pixels * 95 / 100);
  // Dark enough that land and the coloured marks stand out against it.
  EXPECT_LT(brightness / (3 * pixels), 80);
}

TEST(ArtworkTest, BackdropShowsSeveralHuesAlsoInTheSidePanelGap) {
  const Decoded backdrop = decode(assets::backdropJpeg());
  ASSERT_EQ(backdrop.width, 1280);
  ASSERT_EQ(backdrop.height, 720);
  const auto huesIn = [&](int x0, int y0, int x1, int y1) {
    std::array<int, 6> sectors{};
    int count = 0;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) {
        const int s = hueSector(backdrop.at(x, y));
        if (s >= 0) ++sectors[s];
        ++count;
      }
    }
    // A hue counts when it covers at least 3 percent of the area.
    return static_cast<int>(
        std::count_if(sectors.begin(), sectors.end(), [&](int n) { return n * 100 >= count * 3; }));
  };
  EXPECT_GE(huesIn(0, 0, 1279, 719), 4);
  EXPECT_GE(huesIn(1100, 203, 1279, 369), 2);
}

}  // namespace
