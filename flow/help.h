// The help pages shown before a game.
#pragma once

#include <cstdint>
#include <string_view>

namespace flow {

constexpr std::int64_t helpLineCount = 52;
constexpr std::int64_t helpLinesPerPage = 26;

// Line 1..52 of the built-in help text.
std::string_view helpLine(std::int64_t line);

void showHelp();
void drawHelpPage(std::int64_t page, std::int64_t pageCount);

}  // namespace flow
