// The help text and the page viewer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flow/help.h"
#include "flow/input.h"
#include "game/tables.h"
#include "platform/common/backend.h"
#include "support/fixture.h"
#include "view/palette.h"
#include "view/resources.h"

namespace {

using testing_support::rgb;

std::size_t codePoints(std::string_view text) {
  std::size_t n = 0;
  for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

TEST(HelpText, HasItsLinesWithTheirTrailingBlanks) {
  EXPECT_EQ(flow::helpLine(1), "Hinweise:");
  EXPECT_EQ(flow::helpLine(6),
            "Ziel des Spieles ist es, alle Gegner zu eliminieren und alle Spielfelder (Länder) im "
            "Besitz zu haben.");
  EXPECT_EQ(flow::helpLine(26), "Sie erhöhen die Verteidigungskraft des Landes gegen einen Angriff");
  EXPECT_EQ(flow::helpLine(27), "Die Bedienung des Spiels erfolgt mit der Maus.   ");
  EXPECT_EQ(flow::helpLine(39),
            "Mit <esc> oder dem Klick auf den <Fenster-schließen-Knopf> wird das Spiel beendet");
  EXPECT_EQ(flow::helpLine(52), ".");
  EXPECT_EQ(flow::helpLine(53), "");
  EXPECT_EQ(flow::helpLine(0), "");

  for (const int line : {8, 12, 15, 18, 20, 25, 29, 30}) {
    const std::string_view text = flow::helpLine(line);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.back(), ' ') << "line " << line;
    EXPECT_NE(text[text.size() - 2], ' ') << "line " << line;
  }
  int dotsPage1 = 0, dotsPage2 = 0;
  for (int line = 1; line <= flow::helpLineCount; ++line) {
    const std::string_view text = flow::helpLine(line);
    EXPECT_FALSE(text.empty()) << "line " << line;
    EXPECT_LE(codePoints(text), 103u) << "line " << line;
    if (text == ".") (line <= 26 ? dotsPage1 : dotsPage2)++;
  }
  EXPECT_EQ(dotsPage1, 7);
  EXPECT_EQ(dotsPage2, 9);
}

class HelpViewerTest : public testing_support::GameTest {
 protected:
  // The first line drawn of every page shown, in order.
  static std::vector<std::string> pageStarts() {
    std::vector<std::string> starts;
    for (const auto& t : headless::texts()) {
      if (t.x == 25 && t.y == 20) starts.push_back(t.text);
    }
    return starts;
  }
};

TEST_F(HelpViewerTest, TurnsPagesWithWrapAroundAndRedrawsOnOtherInput) {
  const std::string page1 = "Hinweise:";
  const std::string page2(flow::helpLine(27));
  struct Case {
    const char* name;
    std::vector<std::int64_t> keys;  // 0 stands for a mouse click
    std::vector<std::string> pages;
  };
  const Case cases[] = {
      {"right", {39}, {page1, page2}},
      {"left wraps", {37}, {page1, page2}},
      {"right wraps", {39, 39}, {page1, page2, page1}},
      {"left twice", {37, 37}, {page1, page2, page1}},
      {"other key", {32}, {page1, page1}},
      {"click", {0}, {page1, page1}},
      {"esc at once", {}, {page1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    headless::reset();
    for (const std::int64_t key : c.keys) {
      if (key == 0) {
        headless::pushClick(600, 300);
      } else {
        headless::pushKey(key);
      }
    }
    headless::pushKey(flow::keyEsc);
    flow::showHelp();
    EXPECT_EQ(pageStarts(), c.pages);
    EXPECT_EQ(headless::eventsLeft(), 0u);
  }
}

TEST_F(HelpViewerTest, DrawsThePageBoxLinesAndHint) {
  // With nothing scripted the viewer stays on page 1 until the script runs dry.
  EXPECT_THROW(flow::showHelp(), headless::ScriptEnded);
  EXPECT_EQ(headless::pixel(0, 0), rgb(view::colourGrey));
  EXPECT_EQ(headless::pixel(1279, 687), rgb(view::colourGrey));
  EXPECT_NE(headless::pixel(1279, 700), rgb(view::colourGrey));
  EXPECT_EQ(testing_support::lastMessage(), "Beenden <esc> ; Blaettern <re> <li>");

  std::vector<headless::TextRecord> lines;
  for (const auto& t : headless::texts()) {
    if (t.x == 25) lines.push_back(t);
  }
  ASSERT_EQ(lines.size(), 26u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].y, 25 * static_cast<std::int64_t>(i + 1) - 5);
    EXPECT_EQ(lines[i].colour, game::palette[view::colourHelpText]);
    EXPECT_EQ(lines[i].text, flow::helpLine(static_cast<std::int64_t>(i + 1)));
  }
}

TEST_F(HelpViewerTest, EscReturnsWithBackdropAndFooter) {
  headless::pushKey(flow::keyEsc);
  flow::showHelp();
  for (const auto& [x, y] : {std::pair{10, 10}, {640, 300}, {1200, 600}}) {
    EXPECT_EQ(headless::pixel(x, y),
              platform::backend::imagePixel(view::imageBackdrop, x, y) & 0xFFFFFF);
  }
  EXPECT_EQ(headless::pixel(600, 700), rgb(view::colourFooter));
  EXPECT_EQ(game::gameState.result, game::resultAborted);
}

}  // namespace
