// Side panel and footer: player boxes, buttons, turn number, Done button, footer, message line.
#include "view/panel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "game/tables.h"
#include "platform/platform.h"
#include "support/fixture.h"
#include "view/board.h"
#include "view/palette.h"
#include "view/resources.h"

namespace {

using testing_support::GameTest;
using testing_support::rgb;

constexpr std::uint32_t black = 0x000000u;

struct Rect {
  std::int64_t x, y, width, height;
  bool contains(std::int64_t px, std::int64_t py) const {
    return px >= x && px < x + width && py >= y && py < y + height;
  }
};

std::int64_t pixelsOf(const Rect& r, std::uint32_t colour) {
  std::int64_t count = 0;
  for (std::int64_t y = r.y; y < r.y + r.height; ++y) {
    for (std::int64_t x = r.x; x < r.x + r.width; ++x) {
      count += headless::pixel(x, y) == colour;
    }
  }
  return count;
}

bool allOf(const Rect& r, std::uint32_t colour) {
  return pixelsOf(r, colour) == r.width * r.height;
}

std::int64_t pixelsNotOfImage(std::int64_t slot, std::int64_t left, std::int64_t top,
                              const Rect& r) {
  std::int64_t count = 0;
  for (std::int64_t y = r.y; y < r.y + r.height; ++y) {
    for (std::int64_t x = r.x; x < r.x + r.width; ++x) {
      count += headless::pixel(x, y) != (headless::imagePixel(slot, x - left, y - top) & 0xFFFFFFu);
    }
  }
  return count;
}

// Pixels outside the rectangle that differ between two Screen copies.
std::int64_t changedOutside(const std::vector<std::uint32_t>& before,
                            const std::vector<std::uint32_t>& after, const Rect& r) {
  std::int64_t count = 0;
  for (std::int64_t y = 0; y < 720; ++y) {
    for (std::int64_t x = 0; x < 1280; ++x) {
      count += !r.contains(x, y) && before[y * 1280 + x] != after[y * 1280 + x];
    }
  }
  return count;
}

const headless::TextRecord* findText(const std::string& text, platform::Colour colour) {
  for (const auto& t : headless::texts()) {
    if (t.text == text && t.colour == colour) return &t;
  }
  return nullptr;
}

// The inner boxes of the footer. Their bottom rows lie below the capitals of the title and the
// credit text, which are drawn two pixels higher than a message.
const Rect titleInner{3, 691, 237, 26};
const Rect messageInner{243, 691, 797, 26};
const Rect creditInner{1043, 691, 234, 26};
// Where a message may leave marks: the inner box and, under it, the line's bottom frame, which
// the descenders of a text at y 690 reach.
const Rect messageInk{243, 691, 797, 29};

using PanelTest = GameTest;

TEST_F(PanelTest, FooterFramesThreeOliveBoxes) {
  view::drawFooter();
  EXPECT_TRUE(allOf({0, 688, 1280, 3}, black)) << "top frame";
  EXPECT_TRUE(allOf({0, 717, 1280, 3}, black)) << "bottom frame";
  for (const std::int64_t x : {0, 240, 1040, 1277}) {
    EXPECT_TRUE(allOf({x, 688, 3, 32}, black)) << "frame at x " << x;
  }
  for (const Rect& inner : {titleInner, messageInner, creditInner}) {
    EXPECT_TRUE(allOf({inner.x, inner.y + inner.height - 1, inner.width, 1}, rgb(2)))
        << "fill at x " << inner.x;
    EXPECT_TRUE(allOf({inner.x, inner.y, 1, inner.height}, rgb(2))) << "fill at x " << inner.x;
  }
  EXPECT_TRUE(allOf(messageInner, rgb(view::colourFooter))) << "empty message line";
  EXPECT_EQ(headless::presentCount(), 1);
}

TEST_F(PanelTest, FooterWritesTitleAndCreditWithShadowsBelowRight) {
  view::drawFooter();
  const auto& texts = headless::texts();
  ASSERT_EQ(texts.size(), 4u);
  const std::string credit(view::creditText);
  struct Expected {
    std::string text;
    std::int64_t x, y, colour;
  };
  const Expected expected[] = {{"TERRANOX", 15, 689, view::colourBlack},
                               {"TERRANOX", 14, 688, view::colourYellow},
                               {credit, 1055, 689, view::colourBlack},
                               {credit, 1054, 688, view::colourYellow}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(texts[i].text, expected[i].text) << i;
    EXPECT_EQ(texts[i].x, expected[i].x) << i;
    EXPECT_EQ(texts[i].y, expected[i].y) << i;
    EXPECT_EQ(texts[i].colour, view::colour(expected[i].colour)) << i;
  }
  EXPECT_GT(pixelsOf(titleInner, rgb(view::colourYellow)), 50);
  EXPECT_GT(pixelsOf(creditInner, rgb(view::colourYellow)), 50);
}

TEST_F(PanelTest, CreditTextFitsItsBox) {
  ASSERT_FALSE(view::creditText.empty());
  platform::beginDraw(platform::screen);
  platform::setFont(view::fontPanel);
  const std::int64_t width = platform::textWidth(view::creditText);
  platform::endDraw();
  EXPECT_LE(width, 220);
  EXPECT_EQ(view::creditText.find('\n'), std::string_view::npos);
}

TEST_F(PanelTest, MessageLineIsDarkRedWhileAMessageShowsAndOliveAfterClearing) {
  view::drawFooter();
  view::showMessage("Du bist dran");
  EXPECT_TRUE(allOf({messageInner.x, 691, messageInner.width, 1}, rgb(view::colourMessage)));
  EXPECT_TRUE(allOf({messageInner.x, 691, 100, 26}, rgb(view::colourMessage)));
  EXPECT_TRUE(allOf({240, 688, 3, 32}, black));
  EXPECT_GT(pixelsOf(messageInner, rgb(view::colourYellow)), 50);
  EXPECT_EQ(testing_support::lastMessage(), "Du bist dran");

  headless::clearRecords();
  view::clearMessageLine();
  EXPECT_TRUE(allOf(messageInner, rgb(view::colourFooter)));
  EXPECT_TRUE(allOf({240, 688, 3, 32}, black));
  EXPECT_NE(findText("TERRANOX", view::colour(view::colourYellow)), nullptr) << "title redrawn";
  EXPECT_NE(findText(std::string(view::creditText), view::colour(view::colourYellow)), nullptr);
  EXPECT_EQ(headless::presentCount(), 2);
}

TEST_F(PanelTest, EmptyMessageLeavesAnEmptyDarkRedLine) {
  view::drawFooter();
  view::showMessage("");
  EXPECT_TRUE(allOf(messageInner, rgb(view::colourMessage)));
}

TEST_F(PanelTest, MessagesAreCentredAndStayInsideTheLine) {
  const char* const messages[] = {
      "",
      "Du bist dran",
      "!",
      "Army: ANGRIFF !!!",
      "Army: ANGRIFF - erfolgreich !!!",
      "Citybau: Venedig wurde schon gebaut, hier ist Wasser!!",
      "Stadt 11 , 7 wurde durch eine Seuche zerstört !!!",
  };
  for (const char* text : messages) {
    SCOPED_TRACE(text);
    headless::reset();
    view::drawBoard();
    // A message already on the line must vanish under the next one.
    view::showMessage("Die vorige Meldung muss ganz verschwinden");
    const std::vector<std::uint32_t> before = headless::screenCopy();
    headless::clearRecords();
    view::showMessage(text);

    EXPECT_EQ(changedOutside(before, headless::screenCopy(), messageInk), 0);
    EXPECT_EQ(headless::presentCount(), 1);
    std::int64_t left = 1280, right = -1;
    for (std::int64_t y = messageInner.y; y < messageInner.y + messageInner.height; ++y) {
      for (std::int64_t x = messageInner.x; x < messageInner.x + messageInner.width; ++x) {
        if (headless::pixel(x, y) != rgb(view::colourMessage)) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    }
    if (std::string(text).empty()) {
      EXPECT_EQ(right, -1) << "an empty message leaves no ink";
      continue;
    }
    ASSERT_GE(right, left);
    // The face's side bearings (up to two pixels, "A" reaching left of its origin, "!" keeping
    // clear of its advance) put the ink up to one and a half pixels off the advance's centre.
    EXPECT_NEAR(static_cast<double>(left + right) / 2.0, 640.0, 2.0);
    const headless::TextRecord* shown = findText(text, view::colour(view::colourYellow));
    const headless::TextRecord* shadow = findText(text, view::colour(view::colourBlack));
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shown->y, 690);
    EXPECT_EQ(shadow->y, 691);
    EXPECT_EQ(shadow->x, shown->x);
    platform::beginDraw(platform::screen);
    platform::setFont(view::fontPanel);
    const std::int64_t width = platform::textWidth(text);
    platform::endDraw();
    EXPECT_LE(std::abs(2 * shown->x + width - 1280), 1) << "advance centred on x 640";
    EXPECT_LT(shadow - headless::texts().data(), shown - headless::texts().data())
        << "the shadow goes under the text";
  }
}

struct PlayerFixture {
  std::int64_t player, turnSlot, gold, income;
  const char* text;
};

class PlayerBoxTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    for (const PlayerFixture& p : players) {
      game::players[p.player] = {p.turnSlot, 24 + p.player, p.gold, p.income};
    }
    view::drawBoard();
    headless::clearRecords();
  }

  // Turn order differs from PlayerId order, so a box drawn in the PlayerId's row shows up.
  static constexpr PlayerFixture players[] = {
      {1, 3, 0, 0, "PC-1 (0/0)"},
      {2, 1, 12, 5, "PC-2 (12/5)"},
      {3, 4, 40, 30, "PC-3 (40/30)"},
      {4, 2, 7, 3, "YOU  (7/3)"},
  };
};

TEST_F(PlayerBoxTest, BoxesStandInTurnOrderWithTextByStyle) {
  for (const PlayerFixture& p : players) {
    for (const std::int64_t style : {view::playerWaiting, view::playerActive}) {
      SCOPED_TRACE(p.text);
      headless::clearRecords();
      view::drawPlayerBox(p.player, style);
      const std::int64_t y0 = 50 * (p.turnSlot - 1);
      const std::uint32_t fill = rgb(24 + p.player);
      EXPECT_TRUE(allOf({1100, y0 + 3, 177, 1}, fill));
      EXPECT_TRUE(allOf({1100, y0 + 49, 177, 1}, fill));
      EXPECT_TRUE(allOf({1100, y0 + 3, 7, 47}, fill)) << "left of the text";
      EXPECT_TRUE(allOf({1277, y0, 3, 50}, black)) << "panel to the right";

      const std::int64_t textColour = style == view::playerActive ? 6 : 8;
      ASSERT_EQ(headless::texts().size(), 1u);
      const headless::TextRecord& t = headless::texts()[0];
      EXPECT_EQ(t.text, p.text);
      EXPECT_EQ(t.x, 1108);
      EXPECT_EQ(t.y, y0 + 12);
      EXPECT_EQ(t.colour, view::colour(textColour));
      EXPECT_GT(pixelsOf({1100, y0 + 3, 177, 47}, rgb(textColour)), 30);
      EXPECT_EQ(headless::presentCount(), 1);
    }
  }
}

TEST_F(PlayerBoxTest, EliminatedPlayerIsAPlainBarInItsFormerRow) {
  game::players[3].turnSlot = 12;
  for (const std::int64_t style :
       {view::playerWaiting, view::playerActive, view::playerEliminated}) {
    SCOPED_TRACE(style);
    const std::vector<std::uint32_t> before = headless::screenCopy();
    const Rect bar{1100, 53, 177, 47};
    view::drawPlayerBox(3, style);
    EXPECT_TRUE(allOf(bar, rgb(27)));
    EXPECT_EQ(changedOutside(before, headless::screenCopy(), bar), 0);
  }
}

TEST_F(PlayerBoxTest, HumanPrefixKeepsBothBlanks) {
  view::drawPlayerBox(game::human, view::playerActive);
  ASSERT_EQ(headless::texts().size(), 1u);
  EXPECT_EQ(headless::texts()[0].text.substr(0, 6), "YOU  (");
}

TEST_F(PanelTest, ActionButtonsInBothStyles) {
  struct Case {
    std::int64_t action;
    const char* label;
    std::int64_t y;
  };
  const Case cases[] = {{game::actionCity, "City 2", 370},
                        {game::actionNavy, "Navy 4", 420},
                        {game::actionFort, "Fort 3", 470},
                        {game::actionArmy, "Army 1", 520}};
  struct Style {
    std::int64_t style, fill, label;
  };
  const Style styles[] = {{view::buttonNormal, 23, 22}, {view::buttonSelected, 22, 6}};
  view::drawBoard();
  for (const Case& c : cases) {
    for (const Style& s : styles) {
      SCOPED_TRACE(std::string(c.label) + " style " + std::to_string(s.style));
      const std::vector<std::uint32_t> before = headless::screenCopy();
      headless::clearRecords();
      const Rect button{1100, c.y + 3, 177, 47};
      view::drawActionButton(c.action, s.style);
      EXPECT_EQ(changedOutside(before, headless::screenCopy(), button), 0);
      EXPECT_TRUE(allOf({button.x, button.y, 44, button.height}, rgb(s.fill)));
      EXPECT_TRUE(allOf({button.x, button.y + 46, button.width, 1}, rgb(s.fill)));
      EXPECT_GT(pixelsOf(button, rgb(s.label)), 30);
      ASSERT_EQ(headless::texts().size(), 1u);
      EXPECT_EQ(headless::texts()[0].text, c.label);
      EXPECT_EQ(headless::texts()[0].x, 1145);
      EXPECT_EQ(headless::texts()[0].y, c.y + 12);
      EXPECT_EQ(headless::texts()[0].colour, view::colour(s.label));
      EXPECT_EQ(headless::presentCount(), 1);
    }
  }
}

TEST_F(PanelTest, NoActionDrawsAndPresentsNothing) {
  view::drawBoard();
  view::drawActionButton(game::actionArmy, view::buttonSelected);
  const std::vector<std::uint32_t> before = headless::screenCopy();
  headless::clearRecords();
  view::drawActionButton(game::actionNone, view::buttonSelected);
  EXPECT_EQ(headless::screenCopy(), before);
  EXPECT_EQ(headless::presentCount(), 0);
  EXPECT_TRUE(headless::texts().empty());
}

TEST_F(PanelTest, TurnNumberBoxIsBlueInABlackFrame) {
  view::drawBoard();
  game::gameState.turnNumber = 17;
  const std::vector<std::uint32_t> before = headless::screenCopy();
  headless::clearRecords();
  view::drawTurnNumber();
  const Rect box{1100, 580, 180, 50};
  EXPECT_EQ(changedOutside(before, headless::screenCopy(), box), 0);
  EXPECT_TRUE(allOf({1100, 580, 180, 3}, black));
  EXPECT_TRUE(allOf({1100, 627, 180, 3}, black));
  EXPECT_TRUE(allOf({1277, 580, 3, 50}, black));
  EXPECT_TRUE(allOf({1100, 583, 177, 2}, rgb(view::colourTurnBox)));
  EXPECT_TRUE(allOf({1100, 583, 19, 44}, rgb(view::colourTurnBox)));
  ASSERT_EQ(headless::texts().size(), 2u);
  EXPECT_EQ(headless::texts()[0].text, "Zug Nr. 17");
  EXPECT_EQ(headless::texts()[0].x, 1120);
  EXPECT_EQ(headless::texts()[0].y, 590);
  EXPECT_EQ(headless::texts()[0].colour, view::colour(view::colourBlack));
  EXPECT_EQ(headless::texts()[1].text, "Zug Nr. 17");
  EXPECT_EQ(headless::texts()[1].x, 1121);
  EXPECT_EQ(headless::texts()[1].y, 589);
  EXPECT_EQ(headless::texts()[1].colour, view::colour(view::colourYellow));
  EXPECT_GT(pixelsOf(box, rgb(view::colourYellow)), 30);
}

TEST_F(PanelTest, DoneButtonShowsItsPicture) {
  const Rect button{1100, 638, 180, 50};
  for (const auto& [style, slot] : {std::pair{view::doneNormal, view::imageDoneNormal},
                                    std::pair{view::doneLit, view::imageDoneLit},
                                    std::pair{view::doneNormal, view::imageDoneNormal}}) {
    SCOPED_TRACE(style);
    const std::vector<std::uint32_t> before = headless::screenCopy();
    view::drawDoneButton(style);
    EXPECT_EQ(pixelsNotOfImage(slot, 1100, 638, button), 0);
    EXPECT_EQ(changedOutside(before, headless::screenCopy(), button), 0);
  }
}

TEST_F(PanelTest, BackdropCoversTheWholeScreen) {
  view::drawBackdrop();
  EXPECT_EQ(pixelsNotOfImage(view::imageBackdrop, 0, 0, {0, 0, 1280, 720}), 0);
  EXPECT_EQ(headless::presentCount(), 1);
}

}  // namespace
