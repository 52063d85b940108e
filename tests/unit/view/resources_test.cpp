// Palette, fonts and built-in images: colour byte order, font sizes, tile cutting, Done pictures.
#include "view/resources.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "game/tables.h"
#include "platform/common/backend.h"
#include "platform/platform.h"
#include "support/fixture.h"
#include "view/palette.h"

namespace {

using testing_support::GameTest;

using ResourcesTest = GameTest;

std::uint32_t rgbAt(std::int64_t slot, std::int64_t x, std::int64_t y) {
  return headless::imagePixel(slot, x, y) & 0xFFFFFFu;
}

TEST_F(ResourcesTest, PaletteHoldsRedInTheLowByte) {
  struct Case {
    std::int64_t index;
    std::int64_t bbggrr;
  };
  const Case cases[] = {
      {1, 0x000FB9},  {2, 0x0A645A},  {3, 0xB41E1E},  {4, 0x000000},  {7, 0x0000FF},
      {13, 0x8C008C}, {14, 0x1E001E}, {24, 0xFAAFC8}, {26, 0xBE961E}, {28, 0x3CA0A0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(view::colour(c.index), c.bbggrr) << "entry " << c.index;
    EXPECT_EQ(game::palette[c.index], c.bbggrr) << "entry " << c.index;
  }
}

TEST_F(ResourcesTest, PaletteColourReachesTheScreenAsThatColour) {
  platform::beginDraw(platform::screen);
  platform::fillBox(10, 10, 4, 4, view::colour(view::colourMessage));
  platform::fillBox(20, 10, 4, 4, view::colour(26));
  platform::endDraw();
  EXPECT_EQ(headless::pixel(11, 11), 0xB90F00u);
  EXPECT_EQ(headless::pixel(21, 11), 0x1E96BEu);
}

TEST_F(ResourcesTest, LetterFontIsLargerThanPanelFont) {
  platform::beginDraw(platform::screen);
  platform::setFont(view::fontPanel);
  const std::int64_t panel = platform::textWidth("GCF Done");
  platform::setFont(view::fontLetter);
  const std::int64_t letter = platform::textWidth("GCF Done");
  platform::setFont(view::fontHelp);
  const std::int64_t help = platform::textWidth("GCF Done");
  platform::endDraw();
  EXPECT_GT(panel, 0);
  EXPECT_GT(help, 0);
  EXPECT_GT(letter, panel);
}

TEST_F(ResourcesTest, ImageSlotsHaveTheirSizes) {
  struct Case {
    std::int64_t slot, width, height;
  };
  const Case cases[] = {
      {view::imageBackdrop, 1280, 720}, {view::imageTileSheet, 320, 620},
      {view::imageSea, 1094, 685},      {view::imageDoneNormal, 180, 50},
      {view::imageDoneLit, 180, 50},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::backend::imageWidth(c.slot), c.width) << "slot " << c.slot;
    EXPECT_EQ(platform::backend::imageHeight(c.slot), c.height) << "slot " << c.slot;
  }
}

TEST_F(ResourcesTest, EachTileIsItsRectangleOfTheSheetWithAlpha) {
  for (std::int64_t n = 11; n <= 22; ++n) {
    ASSERT_EQ(platform::backend::imageWidth(n), 95) << "tile " << n;
    ASSERT_EQ(platform::backend::imageHeight(n), 95) << "tile " << n;
    const std::int64_t left = 3 + 100 * ((n - 11) % 3);
    const std::int64_t top = 3 + 100 * ((n - 11) / 3);
    std::int64_t mismatches = 0;
    for (std::int64_t y = 0; y < 95; ++y) {
      for (std::int64_t x = 0; x < 95; ++x) {
        mismatches += headless::imagePixel(n, x, y) !=
                      headless::imagePixel(view::imageTileSheet, left + x, top + y);
      }
    }
    EXPECT_EQ(mismatches, 0) << "tile " << n << " cut from (" << left << ", " << top << ")";
  }
}

TEST_F(ResourcesTest, DonePicturesRunTheirGradientsInsideABlackBand) {
  struct Case {
    std::int64_t slot;
    std::uint32_t top, bottom;  // red and blue of rows 3 and 49
  };
  const Case cases[] = {{view::imageDoneNormal, 133, 32}, {view::imageDoneLit, 36, 137}};
  for (const Case& c : cases) {
    // Column 0 stays clear of the text, which starts at x 40.
    EXPECT_EQ(rgbAt(c.slot, 0, 3), c.top << 16 | c.top) << "slot " << c.slot;
    EXPECT_EQ(rgbAt(c.slot, 176, 3), c.top << 16 | c.top) << "slot " << c.slot;
    EXPECT_EQ(rgbAt(c.slot, 0, 49), c.bottom << 16 | c.bottom) << "slot " << c.slot;
    EXPECT_EQ(rgbAt(c.slot, 176, 49), c.bottom << 16 | c.bottom) << "slot " << c.slot;
    for (std::int64_t x = 0; x < 180; ++x) {
      for (std::int64_t y = 0; y < 3; ++y) {
        EXPECT_EQ(rgbAt(c.slot, x, y), 0u) << "slot " << c.slot << " at " << x << ", " << y;
      }
    }
    for (std::int64_t y = 0; y < 50; ++y) {
      for (std::int64_t x = 177; x < 180; ++x) {
        EXPECT_EQ(rgbAt(c.slot, x, y), 0u) << "slot " << c.slot << " at " << x << ", " << y;
      }
    }
  }
}

TEST_F(ResourcesTest, DonePicturesCarryTheWordInYellow) {
  headless::clearRecords();
  view::prepareImages();
  std::int64_t doneTexts = 0;
  for (const auto& t : headless::texts()) {
    if (t.text == "Done") {
      ++doneTexts;
      EXPECT_TRUE(t.target == view::imageDoneNormal || t.target == view::imageDoneLit);
      EXPECT_EQ(t.x, 40);
      EXPECT_EQ(t.y, 8);
      EXPECT_EQ(t.colour, view::colour(view::colourYellow));
    }
  }
  EXPECT_EQ(doneTexts, 2);
  EXPECT_EQ(headless::presentCount(), 2);
  for (const std::int64_t slot : {view::imageDoneNormal, view::imageDoneLit}) {
    std::int64_t yellow = 0;
    for (std::int64_t y = 3; y < 50; ++y) {
      for (std::int64_t x = 40; x < 177; ++x) {
        yellow += rgbAt(slot, x, y) == 0xFFFF00u;
      }
    }
    EXPECT_GT(yellow, 30) << "slot " << slot;
  }
}

}  // namespace
