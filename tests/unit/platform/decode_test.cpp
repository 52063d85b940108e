// Tests of decoding PNG and JPEG pictures from memory into image slots.
#include <gtest/gtest.h>
#include <png.h>
// clang-format off
#include <cstdio>  // before jpeglib.h, which uses FILE without including its header
#include <jpeglib.h>
// clang-format on

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "assets/embedded.h"
#include "platform/common/backend.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace {

using platform::backend::imageHeight;
using platform::backend::imagePixel;
using platform::backend::imageWidth;

constexpr std::int64_t slot = 92;  // a slot the game leaves unused

std::vector<unsigned char> bytesOf(std::span<const unsigned char> data) {
  return {data.begin(), data.end()};
}

bool decode(const std::vector<unsigned char>& data) {
  return platform::decodeImage(slot, data.data(), data.size());
}

// Encodes pixels with libpng's simplified writer; `format` is a PNG_FORMAT_* value.
std::vector<unsigned char> encodePng(png_uint_32 width, png_uint_32 height, png_uint_32 format,
                                     const std::vector<unsigned char>& pixels,
                                     const std::vector<unsigned char>& colourMap = {}) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = width;
  image.height = height;
  image.format = format;
  image.colormap_entries = static_cast<png_uint_32>(colourMap.size() / 4);
  const void* map = colourMap.empty() ? nullptr : colourMap.data();
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, map));
  std::vector<unsigned char> png(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, pixels.data(), 0, map));
  png.resize(size);
  return png;
}

std::vector<unsigned char> encodeJpeg(JDIMENSION width, JDIMENSION height, int components,
                                      const std::vector<unsigned char>& pixels) {
  jpeg_compress_struct jpeg{};
  jpeg_error_mgr errors{};
  jpeg.err = jpeg_std_error(&errors);
  jpeg_create_compress(&jpeg);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&jpeg, &buffer, &size);
  jpeg.image_width = width;
  jpeg.image_height = height;
  jpeg.input_components = components;
  jpeg.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&jpeg);
  jpeg_set_quality(&jpeg, 95, TRUE);
  jpeg_start_compress(&jpeg, TRUE);
  const auto stride = static_cast<std::size_t>(width) * static_cast<std::size_t>(components);
  while (jpeg.next_scanline < height) {
    auto* row = const_cast<unsigned char*>(&pixels[jpeg.next_scanline * stride]);
    jpeg_write_scanlines(&jpeg, &row, 1);
  }
  jpeg_finish_compress(&jpeg);
  jpeg_destroy_compress(&jpeg);
  std::vector<unsigned char> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

TEST(DecodeTest, BuiltInPicturesDecodeToTheirSizes) {
  struct Case {
    std::string label;
    std::span<const unsigned char> data;
    std::int64_t width, height;
    bool png;
  };
  const std::vector<Case> cases = {
      {"backdrop", assets::backdropJpeg(), 1280, 720, false},
      {"tile sheet", assets::tileSheetPng(), 320, 620, true},
      {"sea", assets::seaJpeg(), 1094, 685, false},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(platform::decodeImage(slot, c.data.data(), c.data.size())) << c.label;
    EXPECT_EQ(imageWidth(slot), c.width) << c.label;
    EXPECT_EQ(imageHeight(slot), c.height) << c.label;
    std::int64_t transparent = 0, opaque = 0;
    for (std::int64_t y = 0; y < c.height; ++y) {
      for (std::int64_t x = 0; x < c.width; ++x) {
        const std::uint32_t alpha = imagePixel(slot, x, y) >> 24;
        transparent += alpha == 0;
        opaque += alpha == 255;
      }
    }
    if (c.png) {
      EXPECT_GT(transparent, 0) << c.label;
      EXPECT_GT(opaque, 0) << c.label;
    } else {
      EXPECT_EQ(opaque, c.width * c.height) << c.label;
    }
  }
}

TEST(DecodeTest, PngVariantsExpandToEightBitArgb) {
  struct Case {
    std::string label;
    png_uint_32 format;
    std::vector<unsigned char> pixels;  // two pixels
    std::vector<unsigned char> colourMap;
    std::uint32_t first, second;  // 0xAARRGGBB
  };
  const std::vector<Case> cases = {
      {"RGB", PNG_FORMAT_RGB, {1, 2, 3, 250, 251, 252}, {}, 0xFF010203, 0xFFFAFBFC},
      {"RGBA", PNG_FORMAT_RGBA, {1, 2, 3, 0, 9, 8, 7, 128}, {}, 0x00010203, 0x80090807},
      {"grey", PNG_FORMAT_GRAY, {0, 200}, {}, 0xFF000000, 0xFFC8C8C8},
      {"grey with alpha", PNG_FORMAT_GA, {77, 255, 200, 10}, {}, 0xFF4D4D4D, 0x0AC8C8C8},
      {"16-bit",
       PNG_FORMAT_LINEAR_RGB,
       {0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF},  // little-endian words
       {},
       0xFFFF00FF,
       0xFF0000FF},
      {"palette with transparency",
       PNG_FORMAT_RGBA_COLORMAP,
       {1, 0},
       {10, 20, 30, 0, 40, 50, 60, 255},
       0xFF28323C,
       0x000A141E},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(decode(encodePng(2, 1, c.format, c.pixels, c.colourMap))) << c.label;
    EXPECT_EQ(imageWidth(slot), 2) << c.label;
    EXPECT_EQ(imageHeight(slot), 1) << c.label;
    EXPECT_EQ(imagePixel(slot, 0, 0), c.first) << c.label;
    EXPECT_EQ(imagePixel(slot, 1, 0), c.second) << c.label;
  }
}

TEST(DecodeTest, TransparencyFromAPaletteBlends) {
  headless::reset();
  platform::clearScreen(0x0000FF);
  ASSERT_TRUE(
      decode(encodePng(2, 1, PNG_FORMAT_RGBA_COLORMAP, {0, 1}, {10, 20, 30, 0, 40, 50, 60, 255})));
  platform::beginDraw(platform::screen);
  platform::blendImage(slot, 0, 0);
  platform::endDraw();
  EXPECT_EQ(headless::pixel(0, 0), 0xFF0000u) << "the transparent entry shows the target";
  EXPECT_EQ(headless::pixel(1, 0), 0x28323Cu);
}

TEST(DecodeTest, JpegIsOpaqueAndGreyIsExpanded) {
  struct Case {
    std::string label;
    int components;
    std::vector<unsigned char> colour;
  };
  for (const Case& c : {Case{"grey", 1, {128}}, Case{"colour", 3, {200, 40, 90}}}) {
    std::vector<unsigned char> pixels;
    for (int i = 0; i < 16 * 8; ++i) pixels.insert(pixels.end(), c.colour.begin(), c.colour.end());
    ASSERT_TRUE(decode(encodeJpeg(16, 8, c.components, pixels))) << c.label;
    EXPECT_EQ(imageWidth(slot), 16) << c.label;
    EXPECT_EQ(imageHeight(slot), 8) << c.label;
    const std::uint32_t p = imagePixel(slot, 5, 5);
    const int expected[3] = {c.colour[0], c.colour[c.components == 3 ? 1 : 0],
                             c.colour[c.components == 3 ? 2 : 0]};
    const int got[3] = {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                        static_cast<int>(p & 0xFF)};
    EXPECT_EQ(p >> 24, 0xFFu) << c.label;
    for (int channel = 0; channel < 3; ++channel) {
      EXPECT_NEAR(got[channel], expected[channel], 3) << c.label << " channel " << channel;
    }
  }
}

TEST(DecodeTest, DamagedOrForeignDataIsRefusedAndLeavesTheSlot) {
  const std::vector<unsigned char> png = bytesOf(assets::tileSheetPng());
  const std::vector<unsigned char> jpeg = bytesOf(assets::seaJpeg());
  const auto cut = [](const std::vector<unsigned char>& data, std::size_t length) {
    return std::vector<unsigned char>(data.begin(),
                                      data.begin() + static_cast<std::ptrdiff_t>(length));
  };
  auto badCrc = png;
  badCrc[29] ^= 0xFF;  // the IHDR chunk's checksum
  auto badJpegMarker = jpeg;
  badJpegMarker[3] = 0x01;
  const std::vector<std::pair<std::string, std::vector<unsigned char>>> cases = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
      {"GIF", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}},
      {"PNG signature only", cut(png, 8)},
      {"PNG cut in its header", cut(png, 20)},
      {"PNG cut in half", cut(png, png.size() / 2)},
      {"PNG without its last byte", cut(png, png.size() - 1)},
      {"PNG with a bad checksum", badCrc},
      {"JPEG signature only", cut(jpeg, 3)},
      {"JPEG cut in half", cut(jpeg, jpeg.size() / 2)},
      {"JPEG without its end marker", cut(jpeg, jpeg.size() - 2)},
      {"JPEG with a bad marker", badJpegMarker},
  };
  ASSERT_TRUE(decode(encodePng(2, 1, PNG_FORMAT_RGB, {1, 2, 3, 4, 5, 6})));
  for (const auto& [label, data] : cases) {
    EXPECT_FALSE(decode(data)) << label;
    EXPECT_EQ(imageWidth(slot), 2) << label;
    EXPECT_EQ(imagePixel(slot, 1, 0), 0xFF040506u) << label;
  }
  EXPECT_FALSE(platform::decodeImage(platform::imageSlotCount, png.data(), png.size()));
  EXPECT_FALSE(platform::decodeImage(-1, png.data(), png.size()));
}

}  // namespace
