// The pictures the generator makes; each is the same on every run.
#pragma once

#include "raster.h"

namespace artgen {

constexpr int tileSize = 95;

Picture makeTileSheet();  // 320 x 620, twelve land tiles for slots 11..22
Picture makeSea();        // 1094 x 685
Picture makeBackdrop();   // 1280 x 720
Picture makeIcon(int size);

}  // namespace artgen
