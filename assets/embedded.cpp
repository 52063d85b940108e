// Links the files of assets/ into the binary with the assembler's .incbin.
#include "assets/embedded.h"

#define TERRANOX_EMBED(symbol, file)                                     \
  asm(".section .rodata\n"                                               \
      ".global " #symbol "_begin\n"                                      \
      ".balign 16\n" #symbol "_begin:\n"                                 \
      ".incbin \"" TERRANOX_ASSET_DIR "/" file "\"\n"                    \
      ".global " #symbol "_end\n" #symbol "_end:\n"                      \
      ".byte 0\n"                                                        \
      ".previous\n");                                                    \
  extern "C" const unsigned char symbol##_begin[];                       \
  extern "C" const unsigned char symbol##_end[];

TERRANOX_EMBED(terranox_backdrop, "backdrop.jpg")
TERRANOX_EMBED(terranox_tiles, "tiles.png")
TERRANOX_EMBED(terranox_sea, "sea.jpg")
TERRANOX_EMBED(terranox_icon, "icon.png")
TERRANOX_EMBED(terranox_help, "help.txt")

namespace assets {

std::span<const unsigned char> backdropJpeg() { return {terranox_backdrop_begin, terranox_backdrop_end}; }
std::span<const unsigned char> tileSheetPng() { return {terranox_tiles_begin, terranox_tiles_end}; }
std::span<const unsigned char> seaJpeg() { return {terranox_sea_begin, terranox_sea_end}; }
std::span<const unsigned char> iconPng() { return {terranox_icon_begin, terranox_icon_end}; }
std::span<const unsigned char> helpText() { return {terranox_help_begin, terranox_help_end}; }

}  // namespace assets
