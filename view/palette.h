// The game's colours, by Palette index.
#pragma once

#include <cstdint>

namespace view {

// Palette indices the drawing code names.
constexpr std::int64_t colourMessage = 1;       // message line while a message shows
constexpr std::int64_t colourFooter = 2;        // footer boxes, empty message line
constexpr std::int64_t colourTurnBox = 3;       // turn-number box
constexpr std::int64_t colourBlack = 4;         // frames, panels, shadows
constexpr std::int64_t colourWhite = 5;         // letters F and C
constexpr std::int64_t colourYellow = 6;        // active texts, G, messages
constexpr std::int64_t colourBlinkRed = 7;      // first half of a flash
constexpr std::int64_t colourGrey = 8;          // waiting players, second half of a flash, help page
constexpr std::int64_t colourHelpText = 10;
constexpr std::int64_t colourDoneLight = 13;
constexpr std::int64_t colourDoneDark = 14;
constexpr std::int64_t colourButtonLabel = 22;  // normal label, selected fill
constexpr std::int64_t colourButton = 23;       // normal fill
constexpr std::int64_t colourFreeMine = 24;     // mark of an unowned gold mine

void initPalette();

// The colour of a Palette entry, as the drawing operations take it.
std::int64_t colour(std::int64_t index);

}  // namespace view
