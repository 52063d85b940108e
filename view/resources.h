// Fonts and built-in images: made once at start-up.
#pragma once

#include <cstdint>

namespace view {

// Font slots.
constexpr std::int64_t fontPanel = 0;   // Bookman Old Style 18 bold
constexpr std::int64_t fontLetter = 2;  // Bookman Old Style 22 bold
constexpr std::int64_t fontHelp = 3;    // Arial 18

// Image slots.
constexpr std::int64_t imageBackdrop = 0;
constexpr std::int64_t imageTileSheet = 1;
constexpr std::int64_t imageSea = 2;
constexpr std::int64_t imageDoneNormal = 102;
constexpr std::int64_t imageDoneLit = 103;

void loadFonts();      // slots 0, 2 and 3, in slot order
void prepareImages();  // needs initPalette and font slot 2

}  // namespace view
