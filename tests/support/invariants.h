// The invariants of the game tables, checked by the soak and the scripted whole games.
#pragma once

#include <string>

namespace testing_support {

// Empty when every invariant holds, else a description of the first violations.
std::string tableViolations();

}  // namespace testing_support
