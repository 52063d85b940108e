// The round accounting: income, random events, defences, caps, the next round.
#pragma once

namespace game {

void runAccounting();

}  // namespace game
