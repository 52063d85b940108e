// The help pages: the built-in text, two pages turned with Left and Right, left with Esc.
#include "flow/help.h"

#include <string_view>

#include "assets/embedded.h"
#include "flow/input.h"
#include "platform/platform.h"
#include "view/palette.h"
#include "view/panel.h"
#include "view/resources.h"

namespace flow {

std::string_view helpLine(std::int64_t line) {
  const auto bytes = assets::helpText();
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t start = 0;
  for (std::int64_t n = 1; n < line && start < text.size(); ++n) {
    const std::size_t end = text.find('\n', start);
    start = end == std::string_view::npos ? text.size() : end + 1;
  }
  if (line < 1 || start >= text.size()) return {};
  const std::size_t end = text.find('\n', start);
  return text.substr(start, end == std::string_view::npos ? text.size() - start : end - start);
}

void drawHelpPage(std::int64_t page, std::int64_t pageCount) {
  const std::int64_t first = (page - 1) * helpLinesPerPage + 1;
  platform::beginDraw(platform::screen);
  platform::fillBox(0, 0, 1280, 688, view::colour(view::colourGrey));
  platform::endDraw();
  platform::present();  // the empty page shows before its text

  view::showMessage(pageCount > 1 ? "Beenden <esc> ; Blaettern <re> <li>"
                                  : "Zum Beenden: <esc> druecken");

  platform::beginDraw(platform::screen);
  platform::setFont(view::fontHelp);
  for (std::int64_t i = 1; i <= helpLinesPerPage; ++i) {
    platform::drawText(25, 25 * i - 5, helpLine(first + i - 1), view::colour(view::colourHelpText));
  }
  platform::endDraw();
  platform::present();
}

void showHelp() {
  constexpr std::int64_t pageCount = helpLineCount / helpLinesPerPage;
  view::drawBackdrop();
  view::drawFooter();
  std::int64_t page = 1;
  bool leaving = false;
  while (!leaving) {
    drawHelpPage(page, pageCount);
    keyCode = 0;
    waitForKey();
    if (keyCode == keyEsc) {
      leaving = true;
    } else if (keyCode == keyLeft) {
      --page;
    } else if (keyCode == keyRight) {
      ++page;
    }
    if (page < 1) page = pageCount;
    if (page > pageCount) page = 1;
  }
  view::drawBackdrop();
  view::drawFooter();
}

}  // namespace flow
