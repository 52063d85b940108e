// Tests of fonts and text: advances, placement of the character cell, UTF-8, the glyph cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/common/backend.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace {

constexpr platform::Colour background = 0x302010;  // shows as 0x102030
constexpr std::uint32_t backgroundRgb = 0x102030;
constexpr platform::Colour yellow = 0x00FFFF;  // shows as 0xFFFF00
constexpr std::uint32_t yellowRgb = 0xFFFF00;

// The fonts the game makes, plus one more size in the spare slot 1.
struct FontCase {
  std::string label;
  std::int64_t slot;
  const char* face;
  std::int64_t points;
  bool bold;
  // From the installed faces' metrics (URW Bookman Demi: Windows ascent 1093 and cap height 681
  // per 1000 units; Liberation Sans: 1854 and 1409 per 2048) at 24 px (18 pt) or 29 px (22 pt).
  std::int64_t ascent;
  double capHeight;
};
const std::vector<FontCase> fontCases = {
    {"Bookman 18 bold", 0, "Bookman Old Style", 18, true, 26, 16.3},
    {"Bookman 22 bold", 2, "Bookman Old Style", 22, true, 32, 19.7},
    {"Arial 18", 3, "Arial", 18, false, 22, 16.5},
    {"Arial 22", 1, "Arial", 22, false, 26, 19.95},
};

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::reset();
    for (const FontCase& f : fontCases) {
      ASSERT_TRUE(platform::loadFont(f.slot, f.face, f.points, f.bold)) << f.label;
    }
    platform::clearScreen(background);
    platform::backend::takeChangedRect();
    headless::clearRecords();
  }
};

std::uint32_t screenAt(std::int64_t x, std::int64_t y) {
  return platform::backend::screenPixels()[y * platform::screenWidth + x];
}

// Bounds of the Screen pixels that differ from the background, right/bottom exclusive.
struct Ink {
  std::int64_t left = platform::screenWidth, top = platform::screenHeight, right = 0, bottom = 0;
  std::int64_t pixels = 0;
  bool any() const { return pixels > 0; }
};
Ink inkOnScreen() {
  Ink ink;
  for (std::int64_t y = 0; y < platform::screenHeight; ++y) {
    for (std::int64_t x = 0; x < platform::screenWidth; ++x) {
      if (screenAt(x, y) == backgroundRgb) continue;
      ++ink.pixels;
      ink.left = std::min(ink.left, x);
      ink.top = std::min(ink.top, y);
      ink.right = std::max(ink.right, x + 1);
      ink.bottom = std::max(ink.bottom, y + 1);
    }
  }
  return ink;
}

// Draws one text on a fresh background in its own block; returns what drawText returned.
std::int64_t drawAlone(std::int64_t slot, std::int64_t x, std::int64_t y, std::string_view text) {
  platform::clearScreen(background);
  platform::beginDraw(platform::screen);
  platform::setFont(slot);
  const std::int64_t end = platform::drawText(x, y, text, yellow);
  platform::endDraw();
  return end;
}

std::int64_t widthIn(std::int64_t slot, std::string_view text) {
  platform::beginDraw(platform::screen);
  platform::setFont(slot);
  const std::int64_t width = platform::textWidth(text);
  platform::endDraw();
  return width;
}

TEST_F(TextTest, EmptyTextDrawsNothingAndReturnsX) {
  platform::beginDraw(platform::screen);
  platform::setFont(0);
  EXPECT_EQ(platform::drawText(100, 200, "", yellow), 100);
  EXPECT_EQ(platform::textWidth(""), 0);
  platform::endDraw();
  EXPECT_TRUE(platform::backend::takeChangedRect().empty());
  EXPECT_FALSE(inkOnScreen().any());
  EXPECT_TRUE(headless::texts().empty());
}

TEST_F(TextTest, TextAdvancesByItsWidthAndInksOnlyItsCellTowardsItsColour) {
  for (const FontCase& f : fontCases) {
    const std::int64_t width = widthIn(f.slot, "Hallo");
    EXPECT_GT(width, 0) << f.label;
    headless::clearRecords();
    EXPECT_EQ(drawAlone(f.slot, 200, 300, "Hallo"), 200 + width) << f.label;
    const Ink ink = inkOnScreen();
    ASSERT_TRUE(ink.any()) << f.label;
    EXPECT_GE(ink.left, 200) << f.label;
    EXPECT_LE(ink.right, 200 + width) << f.label;
    EXPECT_GE(ink.top, 300) << f.label;
    EXPECT_LE(ink.bottom, 300 + f.ascent + 1) << f.label;
    std::int64_t full = 0;
    const std::vector<std::uint32_t> first = headless::screenCopy();
    for (std::int64_t y = ink.top; y < ink.bottom; ++y) {
      for (std::int64_t x = ink.left; x < ink.right; ++x) {
        const std::uint32_t p = screenAt(x, y);
        const std::uint32_t r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
        // From the background (0x10, 0x20, 0x30) towards yellow (0xFF, 0xFF, 0x00) only.
        EXPECT_TRUE(r >= 0x10 && g >= 0x20 && b <= 0x30) << f.label << " at " << x << ", " << y;
        full += p == yellowRgb;
      }
    }
    EXPECT_GT(full, 0) << f.label << ": the stems are fully covered";
    const platform::backend::Rect changed = platform::backend::takeChangedRect();
    EXPECT_LE(changed.x, ink.left) << f.label;
    EXPECT_GE(changed.right, ink.right) << f.label;
    ASSERT_EQ(headless::texts().size(), 1u) << f.label;
    EXPECT_EQ(headless::texts()[0].text, "Hallo");
    EXPECT_EQ(headless::texts()[0].x, 200);
    EXPECT_EQ(headless::texts()[0].y, 300);
    EXPECT_EQ(headless::texts()[0].colour, yellow);
    EXPECT_EQ(headless::texts()[0].target, platform::screen);
    // Again, now from the glyph cache: the same picture.
    drawAlone(f.slot, 200, 300, "Hallo");
    EXPECT_TRUE(headless::screenCopy() == first) << f.label;
  }
}

TEST_F(TextTest, CellTopIsAtYAndTheBaselineAtTheFacesAscent) {
  for (const FontCase& f : fontCases) {
    drawAlone(f.slot, 50, 100, "H");
    const Ink ink = inkOnScreen();
    ASSERT_TRUE(ink.any()) << f.label;
    EXPECT_EQ(ink.bottom, 100 + f.ascent) << f.label << ": H stands on the baseline";
    EXPECT_NEAR(static_cast<double>(ink.bottom - ink.top), f.capHeight, 1.0) << f.label;
    drawAlone(f.slot, 50, 100, "HALLO");
    EXPECT_GE(inkOnScreen().top, 100) << f.label << ": no ink above the cell";
  }
}

TEST_F(TextTest, WidthIsTheSumOfTheGlyphAdvancesWithoutKerning) {
  for (const FontCase& f : fontCases) {
    for (const std::string text : {"AV", "To", "Wa", "Hallo"}) {
      std::int64_t sum = 0;
      for (char c : text) sum += widthIn(f.slot, std::string(1, c));
      EXPECT_EQ(widthIn(f.slot, text), sum) << f.label << " " << text;
    }
  }
}

TEST_F(TextTest, UmlautsDrawTheirDotsAndAdvanceLikeTheirBaseLetter) {
  struct Pair {
    const char* umlaut;
    const char* base;
  };
  const std::vector<Pair> pairs = {{"Ä", "A"}, {"Ö", "O"}, {"Ü", "U"},
                                   {"ä", "a"}, {"ö", "o"}, {"ü", "u"}};
  for (const FontCase& f : fontCases) {
    for (const Pair& p : pairs) {
      EXPECT_EQ(widthIn(f.slot, p.umlaut), widthIn(f.slot, p.base)) << f.label << " " << p.umlaut;
      drawAlone(f.slot, 50, 100, p.base);
      const Ink base = inkOnScreen();
      drawAlone(f.slot, 50, 100, p.umlaut);
      const Ink umlaut = inkOnScreen();
      EXPECT_LT(umlaut.top, base.top) << f.label << " " << p.umlaut << ": dots above the letter";
      EXPECT_GE(umlaut.top, 100) << f.label << " " << p.umlaut;
    }
    EXPECT_GT(widthIn(f.slot, "ß"), 0) << f.label;
    EXPECT_EQ(drawAlone(f.slot, 50, 100, "Größe"), 50 + widthIn(f.slot, "Größe")) << f.label;
  }
}

TEST_F(TextTest, MalformedUtf8BecomesReplacementCharacters) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD
  struct Case {
    std::string label, bytes, meaning;
  };
  const std::vector<Case> cases = {
      {"stray continuation", "a\x80z", "a" + r + "z"},
      {"invalid lead byte", "\xFF", r},
      {"cut short at the end", "A\xC3", "A" + r},
      {"cut short before a letter",
       "\xC3"
       "A",
       r + "A"},
      {"overlong", "\xE0\x80\x80", r + r + r},
      {"surrogate", "\xED\xA0\x80", r + r + r},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r},
      {"four bytes cut short", "\xF0\x9F\x98", r},
  };
  for (const Case& c : cases) {
    // Exactly as long as the text, so a read past its end is caught by the sanitizer build.
    const std::vector<char> exact(c.bytes.begin(), c.bytes.end());
    const std::string_view text(exact.data(), exact.size());
    EXPECT_EQ(widthIn(3, text), widthIn(3, c.meaning)) << c.label;
    EXPECT_EQ(drawAlone(3, 10, 10, text), 10 + widthIn(3, c.meaning)) << c.label;
  }
  EXPECT_GT(widthIn(3, r), 0);
}

TEST_F(TextTest, WithoutABlockOrAFontNothingIsDrawn) {
  EXPECT_EQ(platform::drawText(10, 10, "Hallo", yellow), 10);
  EXPECT_EQ(platform::textWidth("Hallo"), 0);
  platform::beginDraw(platform::screen);
  platform::setFont(0);
  platform::endDraw();
  platform::beginDraw(platform::screen);  // the selection ended with the last block
  EXPECT_EQ(platform::drawText(10, 10, "Hallo", yellow), 10);
  EXPECT_EQ(platform::textWidth("Hallo"), 0);
  platform::setFont(platform::fontSlotCount);
  EXPECT_EQ(platform::drawText(10, 10, "Hallo", yellow), 10);
  platform::endDraw();
  EXPECT_FALSE(inkOnScreen().any());
}

TEST_F(TextTest, TextIntoAnImageStaysOpaqueAndIsRecordedWithItsTarget) {
  constexpr std::int64_t slot = 93;
  ASSERT_TRUE(platform::createImage(slot, 180, 50));
  platform::beginDraw(slot);
  platform::setFont(2);
  const std::int64_t end = platform::drawText(40, 8, "Done", yellow);
  EXPECT_EQ(end, 40 + platform::textWidth("Done"));
  platform::endDraw();
  std::int64_t yellowPixels = 0;
  for (std::int64_t y = 0; y < 50; ++y) {
    for (std::int64_t x = 0; x < 180; ++x) {
      const std::uint32_t p = platform::backend::imagePixel(slot, x, y);
      EXPECT_EQ(p >> 24, 0xFFu) << x << ", " << y;
      yellowPixels += (p & 0xFFFFFF) == yellowRgb;
      if (x < 40 || y < 8) {
        EXPECT_EQ(p, 0xFF000000u) << x << ", " << y;
      }
    }
  }
  EXPECT_GT(yellowPixels, 0);
  EXPECT_FALSE(inkOnScreen().any());
  ASSERT_EQ(headless::texts().size(), 1u);
  EXPECT_EQ(headless::texts()[0].target, slot);
}

TEST_F(TextTest, TextOverTheScreensEdgesIsClipped) {
  struct Case {
    std::int64_t x, y;
  };
  const std::int64_t width = widthIn(0, "Hallo");
  for (const Case c : {Case{-15, -12}, Case{1270, 710}, Case{-5000, 300}, Case{300, 5000}}) {
    EXPECT_EQ(drawAlone(0, c.x, c.y, "Hallo"), c.x + width) << c.x << ", " << c.y;
    const Ink ink = inkOnScreen();
    if (ink.any()) {
      EXPECT_GE(ink.left, std::max<std::int64_t>(c.x, 0));
      EXPECT_GE(ink.top, std::max<std::int64_t>(c.y, 0));
    }
  }
}

TEST_F(TextTest, FontsLoadAgainAfterRelease) {
  const std::int64_t before = widthIn(0, "Hallo");
  platform::releaseFonts();
  EXPECT_EQ(widthIn(0, "Hallo"), 0);
  ASSERT_TRUE(platform::loadFont(0, "Bookman Old Style", 18, true));
  EXPECT_EQ(widthIn(0, "Hallo"), before);
  EXPECT_FALSE(platform::loadFont(platform::fontSlotCount, "Arial", 18, false));
  EXPECT_FALSE(platform::loadFont(0, "Arial", 0, false));
}

TEST_F(TextTest, BoldIsSynthesisedForAFaceWithoutABoldStyle) {
  // This family is installed in one weight only.
  ASSERT_TRUE(platform::loadFont(1, "DejaVu Math TeX Gyre", 18, false));
  const std::int64_t regularWidth = widthIn(1, "Hallo");
  drawAlone(1, 50, 100, "Hallo");
  const std::int64_t regularInk = inkOnScreen().pixels;
  ASSERT_TRUE(platform::loadFont(1, "DejaVu Math TeX Gyre", 18, true));
  EXPECT_GT(widthIn(1, "Hallo"), regularWidth);
  drawAlone(1, 50, 100, "Hallo");
  EXPECT_GT(inkOnScreen().pixels, regularInk * 11 / 10);
}

}  // namespace
