// Board drawing: the empty play screen, cell marks and letters, the flash of a cell.
#include "view/board.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "game/tables.h"
#include "platform/platform.h"
#include "support/fixture.h"
#include "view/palette.h"
#include "view/resources.h"

namespace {

using testing_support::GameTest;
using testing_support::rgb;

constexpr std::uint32_t black = 0x000000u;

std::uint32_t imageRgb(std::int64_t slot, std::int64_t x, std::int64_t y) {
  return headless::imagePixel(slot, x, y) & 0xFFFFFFu;
}

// Pixels of the rectangle that differ from the colour.
std::int64_t pixelsNotOf(std::int64_t x0, std::int64_t y0, std::int64_t width, std::int64_t height,
                         std::uint32_t colour) {
  std::int64_t count = 0;
  for (std::int64_t y = y0; y < y0 + height; ++y) {
    for (std::int64_t x = x0; x < x0 + width; ++x) {
      count += headless::pixel(x, y) != colour;
    }
  }
  return count;
}

// Pixels of the Screen rectangle that differ from the image at (left, top) of it.
std::int64_t pixelsNotOfImage(std::int64_t slot, std::int64_t left, std::int64_t top,
                              std::int64_t x0, std::int64_t y0, std::int64_t width,
                              std::int64_t height) {
  std::int64_t count = 0;
  for (std::int64_t y = y0; y < y0 + height; ++y) {
    for (std::int64_t x = x0; x < x0 + width; ++x) {
      count += headless::pixel(x, y) != imageRgb(slot, x - left, y - top);
    }
  }
  return count;
}

std::int64_t cellX(std::int64_t column) { return 95 * column - 68; }
std::int64_t cellY(std::int64_t row) { return 95 * row - 83; }

struct Changes {
  std::int64_t inCell = 0, outside = 0;
};

// Pixels that differ between two Screen copies, inside and outside the cell's square.
Changes changesAround(const std::vector<std::uint32_t>& before,
                      const std::vector<std::uint32_t>& after, std::int64_t column,
                      std::int64_t row) {
  Changes changes;
  for (std::int64_t y = 0; y < 720; ++y) {
    for (std::int64_t x = 0; x < 1280; ++x) {
      const bool inCell =
          x >= cellX(column) && x < cellX(column) + 95 && y >= cellY(row) && y < cellY(row) + 95;
      const bool changed = before[y * 1280 + x] != after[y * 1280 + x];
      (inCell ? changes.inCell : changes.outside) += changed;
    }
  }
  return changes;
}

// Shadow pixels: near black, a colour no box, letter or tile interior is drawn in.
std::int64_t darkPixels(std::int64_t x0, std::int64_t y0, std::int64_t width, std::int64_t height) {
  std::int64_t count = 0;
  for (std::int64_t y = y0; y < y0 + height; ++y) {
    for (std::int64_t x = x0; x < x0 + width; ++x) {
      const std::uint32_t p = headless::pixel(x, y);
      count += ((p >> 16) & 0xFF) < 40 && ((p >> 8) & 0xFF) < 40 && (p & 0xFF) < 40;
    }
  }
  return count;
}

class BoardTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    for (std::int64_t p = 1; p <= 4; ++p) {
      game::players[p].colourIndex = 24 + p;
    }
  }

  // Puts a fresh empty play screen up, makes the cell land and remembers its bare tile.
  void prepareCell(std::int64_t column, std::int64_t row, std::int64_t terrain) {
    view::drawBoard();
    game::board[column][row].terrain = terrain;
    view::drawTile(column, row);
    bareCell_ = cellPixels(column, row);
    headless::clearRecords();
  }

  static std::vector<std::uint32_t> cellPixels(std::int64_t column, std::int64_t row) {
    std::vector<std::uint32_t> pixels;
    for (std::int64_t y = cellY(row); y < cellY(row) + 95; ++y) {
      for (std::int64_t x = cellX(column); x < cellX(column) + 95; ++x) {
        pixels.push_back(headless::pixel(x, y));
      }
    }
    return pixels;
  }

  // The cell pixel at (dx, dy) from its corner as the bare tile showed it.
  std::uint32_t bare(std::int64_t dx, std::int64_t dy) const { return bareCell_[dy * 95 + dx]; }

  std::vector<std::uint32_t> bareCell_;
};

TEST_F(BoardTest, EmptyPlayScreenFramesTheSeaAndTheSidePanel) {
  view::drawBoard();

  EXPECT_EQ(pixelsNotOf(0, 0, 3, 688, black), 0) << "left frame";
  EXPECT_EQ(pixelsNotOf(1097, 0, 3, 688, black), 0) << "right frame";
  EXPECT_EQ(pixelsNotOf(0, 0, 1100, 3, black), 0) << "top frame";
  EXPECT_EQ(pixelsNotOfImage(view::imageSea, 3, 3, 3, 3, 1094, 685), 0) << "sea";

  EXPECT_EQ(pixelsNotOf(1100, 0, 180, 203, black), 0) << "panel behind the player boxes";
  EXPECT_EQ(pixelsNotOfImage(view::imageBackdrop, 0, 0, 1100, 203, 180, 167), 0);
  EXPECT_EQ(pixelsNotOfImage(view::imageBackdrop, 0, 0, 1100, 573, 180, 65), 0)
      << "no turn-number box yet";
  EXPECT_EQ(pixelsNotOfImage(view::imageDoneNormal, 1100, 638, 1100, 638, 180, 50), 0);

  // The buttons lie on a black panel that shows as a frame above and to the right of each.
  EXPECT_EQ(pixelsNotOf(1100, 370, 180, 3, black), 0);
  EXPECT_EQ(pixelsNotOf(1277, 370, 3, 203, black), 0);
  const std::vector<std::string> labels = {"City 2", "Navy 4", "Fort 3", "Army 1"};
  for (std::int64_t b = 0; b < 4; ++b) {
    const std::int64_t y = 373 + 50 * b;
    EXPECT_EQ(headless::pixel(1100, y), rgb(view::colourButton)) << labels[b];
    EXPECT_EQ(headless::pixel(1276, y + 46), rgb(view::colourButton)) << labels[b];
    EXPECT_EQ(pixelsNotOf(1100, y + 47, 180, 3, black), 0) << "gap below " << labels[b];
  }
  std::vector<std::string> drawnLabels;
  for (const auto& t : headless::texts()) {
    if (t.x == 1145) {
      drawnLabels.push_back(t.text);
      EXPECT_EQ(t.colour, view::colour(view::colourButtonLabel)) << t.text;
      EXPECT_EQ(t.y, 382 + 50 * (static_cast<std::int64_t>(drawnLabels.size()) - 1)) << t.text;
    }
  }
  EXPECT_EQ(drawnLabels, labels);

  EXPECT_EQ(headless::pixel(5, 716), rgb(view::colourFooter)) << "footer drawn";
}

TEST_F(BoardTest, TileCornersShowTheSeaUnderTheirTransparentOutline) {
  view::drawBoard();
  const std::int64_t tile = 11;
  game::board[1][1].terrain = tile;
  view::drawTile(1, 1);
  std::int64_t seaShown = 0, tileShown = 0;
  for (std::int64_t dy = 0; dy < 95; ++dy) {
    for (std::int64_t dx = 0; dx < 95; ++dx) {
      const std::uint32_t alpha = headless::imagePixel(tile, dx, dy) >> 24;
      const std::uint32_t shown = headless::pixel(27 + dx, 12 + dy);
      if (alpha == 0) {
        seaShown += shown == imageRgb(view::imageSea, 24 + dx, 9 + dy);
        EXPECT_EQ(shown, imageRgb(view::imageSea, 24 + dx, 9 + dy)) << dx << ", " << dy;
      } else if (alpha == 255) {
        tileShown += shown == imageRgb(tile, dx, dy);
        EXPECT_EQ(shown, imageRgb(tile, dx, dy)) << dx << ", " << dy;
      }
    }
  }
  EXPECT_GT(seaShown, 0) << "the tile has a transparent outside";
  EXPECT_GT(tileShown, 65 * 65 - 1);
}

struct CellCase {
  const char* name;
  std::int64_t owner, goldMine, fort, city, blinkA, blinkB;
  std::int64_t leftBox, rightBox;  // Palette index of the box, 0 for none
  const char* leftLetter;          // "" for none
  std::int64_t leftColour;
  const char* rightLetter;
  std::int64_t rightColour;
};

const CellCase cellCases[] = {
    {"unowned plain", 0, 0, 0, 0, 0, 0, 0, 0, "", 0, "", 0},
    {"unowned gold mine", 0, 1, 0, 0, 0, 0, 24, 0, "G", 6, "", 0},
    {"unowned with fort and city", 0, 0, 1, 1, 0, 0, 0, 0, "", 0, "", 0},
    {"unowned gold mine with fort and city", 0, 1, 1, 1, 0, 0, 24, 0, "G", 6, "", 0},
    {"owned plain", 2, 0, 0, 0, 0, 0, 26, 26, "", 0, "", 0},
    {"owned gold mine", 1, 1, 0, 0, 0, 0, 25, 25, "G", 6, "", 0},
    {"owned with city", 3, 0, 0, 1, 0, 0, 27, 27, "C", 5, "", 0},
    {"owned with fort", 4, 0, 1, 0, 0, 0, 28, 28, "", 0, "F", 5},
    {"owned with city and fort", 4, 0, 1, 1, 0, 0, 28, 28, "C", 5, "F", 5},
    {"city on a gold mine", 2, 1, 0, 1, 0, 0, 26, 26, "C", 5, "", 0},
    {"unowned plain, red half of a flash", 0, 0, 0, 0, 1, 0, 7, 7, "", 0, "", 0},
    {"unowned plain, grey half of a flash", 0, 0, 0, 0, 0, 1, 8, 8, "", 0, "", 0},
    {"unowned gold mine, red half", 0, 1, 0, 0, 1, 0, 7, 7, "G", 6, "", 0},
    {"owned with fort, grey half", 1, 0, 1, 0, 0, 1, 8, 8, "", 0, "F", 5},
};

TEST_F(BoardTest, CellShowsItsBoxesAndLetters) {
  const std::int64_t column = 4, row = 3;
  for (const CellCase& c : cellCases) {
    SCOPED_TRACE(c.name);
    prepareCell(column, row, 15);
    game::Cell& cell = game::board[column][row];
    cell.owner = c.owner;
    cell.goldMine = c.goldMine;
    cell.fort = c.fort;
    cell.city = c.city;
    game::gameState.blinkA = c.blinkA;
    game::gameState.blinkB = c.blinkB;
    view::drawCell(column, row);

    struct Mark {
      std::int64_t dx;  // box offset from the cell's corner
      std::int64_t box;
      std::string letter;
      std::int64_t letterColour;
    };
    const Mark marks[] = {{20, c.leftBox, c.leftLetter, c.leftColour},
                          {50, c.rightBox, c.rightLetter, c.rightColour}};
    std::vector<headless::TextRecord> expectedTexts;
    std::vector<bool> inMark(95 * 95, false);
    for (const Mark& m : marks) {
      const std::int64_t boxX = cellX(column) + m.dx;
      const std::int64_t boxY = cellY(row) + 30;
      if (m.box != 0) {
        for (std::int64_t dy = 30; dy < 65; ++dy) {
          for (std::int64_t dx = m.dx; dx < m.dx + 25; ++dx) {
            inMark[dy * 95 + dx] = true;
          }
        }
        // The letter's ink stays off the box's left column and its top and bottom rows.
        EXPECT_EQ(pixelsNotOf(boxX, boxY, 25, 1, rgb(m.box)), 0) << "top of box " << m.dx;
        EXPECT_EQ(pixelsNotOf(boxX, boxY + 34, 25, 1, rgb(m.box)), 0) << "bottom of box " << m.dx;
        EXPECT_EQ(pixelsNotOf(boxX, boxY, 1, 35, rgb(m.box)), 0) << "left of box " << m.dx;
        if (m.letter.empty()) {
          EXPECT_EQ(pixelsNotOf(boxX, boxY, 25, 35, rgb(m.box)), 0) << "plain box " << m.dx;
        }
      }
      if (!m.letter.empty()) {
        expectedTexts.push_back({m.letter, boxX + 1, boxY, view::colour(view::colourBlack)});
        expectedTexts.push_back({m.letter, boxX + 2, boxY, view::colour(m.letterColour)});
        EXPECT_GT(25 * 35 - pixelsNotOf(boxX, boxY, 25, 35, rgb(m.letterColour)), 20)
            << "ink of " << m.letter;
        EXPECT_GT(darkPixels(boxX, boxY, 25, 35), 5) << "shadow of " << m.letter;
      }
    }

    const auto& texts = headless::texts();
    ASSERT_EQ(texts.size(), expectedTexts.size());
    for (std::size_t t = 0; t < texts.size(); ++t) {
      EXPECT_EQ(texts[t].text, expectedTexts[t].text) << "text " << t;
      EXPECT_EQ(texts[t].x, expectedTexts[t].x) << "text " << t;
      EXPECT_EQ(texts[t].y, expectedTexts[t].y) << "text " << t;
      EXPECT_EQ(texts[t].colour, expectedTexts[t].colour) << "text " << t;
    }

    std::int64_t changedOutsideMarks = 0;
    for (std::int64_t dy = 0; dy < 95; ++dy) {
      for (std::int64_t dx = 0; dx < 95; ++dx) {
        changedOutsideMarks += !inMark[dy * 95 + dx] &&
                               headless::pixel(cellX(column) + dx, cellY(row) + dy) != bare(dx, dy);
      }
    }
    EXPECT_EQ(changedOutsideMarks, 0);
    EXPECT_EQ(headless::presentCount(), 2) << "the tile, then the marks";
  }
}

TEST_F(BoardTest, MarksSitAtTheCornersOfTheGrid) {
  struct Case {
    std::int64_t column, row, leftBoxX, boxY;
  };
  const Case cases[] = {{1, 1, 47, 42}, {11, 7, 997, 612}};
  for (const Case& c : cases) {
    prepareCell(c.column, c.row, 22);
    game::board[c.column][c.row].owner = 3;
    view::drawCell(c.column, c.row);
    const std::uint32_t owner = rgb(27);
    EXPECT_EQ(pixelsNotOf(c.leftBoxX, c.boxY, 25, 35, owner), 0);
    EXPECT_EQ(pixelsNotOf(c.leftBoxX + 30, c.boxY, 25, 35, owner), 0);
    EXPECT_NE(headless::pixel(c.leftBoxX - 1, c.boxY), owner);
    EXPECT_NE(headless::pixel(c.leftBoxX + 25, c.boxY), owner) << "gap between the boxes";
    EXPECT_NE(headless::pixel(c.leftBoxX, c.boxY - 1), owner);
    EXPECT_NE(headless::pixel(c.leftBoxX, c.boxY + 35), owner);
  }
}

TEST_F(BoardTest, OwnerChangeLeavesNoTraceOfTheOldOwner) {
  const std::int64_t column = 6, row = 5;
  prepareCell(column, row, 18);
  game::Cell& cell = game::board[column][row];
  cell.owner = 1;
  cell.fort = 1;
  cell.city = 1;
  view::drawCell(column, row);
  cell.owner = 2;
  cell.fort = 0;
  cell.city = 0;
  view::drawCell(column, row);
  const std::vector<std::uint32_t> changed = cellPixels(column, row);

  prepareCell(column, row, 18);
  view::drawCell(column, row);
  EXPECT_EQ(changed, cellPixels(column, row));
  EXPECT_EQ(pixelsNotOf(cellX(column), cellY(row), 95, 95, rgb(25)), 95 * 95);
}

TEST_F(BoardTest, BlinkFlashesSixTimesAndEndsInTheNormalLook) {
  const std::int64_t column = 9, row = 2;
  prepareCell(column, row, 13);
  game::Cell& cell = game::board[column][row];
  cell.owner = 4;
  cell.fort = 1;
  view::drawCell(column, row);
  const std::vector<std::uint32_t> normal = cellPixels(column, row);
  const std::vector<std::uint32_t> before = headless::screenCopy();
  headless::clearRecords();

  view::blinkCell(column, row);

  EXPECT_EQ(game::gameState.blinkA, 0);
  EXPECT_EQ(game::gameState.blinkB, 0);
  EXPECT_EQ(cellPixels(column, row), normal);
  EXPECT_EQ(headless::sleeps(), std::vector<std::int64_t>(6, 100));
  const auto& presents = headless::presentTimesUs();
  ASSERT_EQ(presents.size(), 14u);
  // Each redraw presents twice; the pause falls between one redraw and the next.
  for (std::size_t draw = 1; draw < 7; ++draw) {
    EXPECT_GE(presents[2 * draw] - presents[2 * draw - 1], 100000) << "before redraw " << draw;
  }
  EXPECT_LT(presents[13] - presents[12], 100000) << "no pause within the last redraw";

  EXPECT_EQ(changesAround(before, headless::screenCopy(), column, row).outside, 0);
}

TEST_F(BoardTest, CellRedrawLeavesEveryOtherPixelAlone) {
  view::drawBoard();
  for (std::int64_t column = 1; column <= 11; ++column) {
    game::board[column][4].terrain = 11 + (column % 12);
    view::drawTile(column, 4);
  }
  const std::int64_t column = 5, row = 4;
  game::board[column][row].owner = 2;
  game::board[column][row].goldMine = 1;
  const std::vector<std::uint32_t> before = headless::screenCopy();
  view::drawCell(column, row);
  const Changes changes = changesAround(before, headless::screenCopy(), column, row);
  EXPECT_GT(changes.inCell, 0);
  EXPECT_EQ(changes.outside, 0);
}

}  // namespace
