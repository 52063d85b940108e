// Writes the game's built-in pictures into the folder named on the command line.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "artwork.h"

namespace {

bool writeAll(const std::string& folder) {
  using namespace artgen;
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  const Picture icon = makeIcon(64);
  return writePng(makeTileSheet(), folder + "/tiles.png") &&
         writeJpeg(makeSea(), folder + "/sea.jpg", 88) &&
         writeJpeg(makeBackdrop(), folder + "/backdrop.jpg", 88) &&
         writePng(icon, folder + "/icon.png") && writePng(icon, folder + "/icon-64.png") &&
         writePng(makeIcon(48), folder + "/icon-48.png") &&
         writePng(makeIcon(128), folder + "/icon-128.png") &&
         writePng(makeIcon(256), folder + "/icon-256.png");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: artgen OUTPUT_FOLDER\n");
    return 2;
  }
  if (!writeAll(argv[1])) {
    std::fprintf(stderr, "artgen: cannot write the pictures into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
