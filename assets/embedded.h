// The built-in pictures and help text, linked into the binary.
#pragma once

#include <span>

namespace assets {

std::span<const unsigned char> backdropJpeg();  // 1280 x 720
std::span<const unsigned char> tileSheetPng();  // 320 x 620 with alpha
std::span<const unsigned char> seaJpeg();       // 1094 x 685
std::span<const unsigned char> iconPng();       // window icon
std::span<const unsigned char> helpText();      // 52 lines, UTF-8, newline-separated

}  // namespace assets
