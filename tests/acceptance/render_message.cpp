// Draws one message line with the game's own drawing code and writes the Screen as a PNG.
//
// The acceptance tests compare the message line of the real window with this
// picture, so they can tell what the line says without reading text off pixels.
#include <cstdio>

#include "platform/headless/headless.h"
#include "view/palette.h"
#include "view/panel.h"
#include "view/resources.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <message> <out.png>\n", argv[0]);
    return 2;
  }
  headless::reset();
  view::initPalette();
  view::loadFonts();
  view::prepareImages();
  view::drawFooter();
  view::showMessage(argv[1]);
  if (!headless::dumpScreen(argv[2])) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
    return 1;
  }
  return 0;
}
