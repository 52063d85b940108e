// Shared test fixture: fresh tables, input state and headless back end, fonts and images ready.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/headless.h"

namespace testing_support {

// RGB of a Palette entry as headless::pixel reports it (0xRRGGBB).
std::uint32_t rgb(std::int64_t paletteIndex);

// Texts drawn on the message line in the message colour, oldest first.
std::vector<std::string> messages();
std::string lastMessage();
// Virtual time (us) at which the last message with exactly this text was drawn; -1 if never.
std::int64_t messageTimeUs(const std::string& text);

// Sum of all recorded sleeps in ms.
std::int64_t sleptMs();

class GameTest : public ::testing::Test {
 protected:
  // Resets the headless back end, the tables and the input state; fills the
  // Palette; loads the fonts and images when they are not loaded.
  void SetUp() override;
};

}  // namespace testing_support
