// The sea: dark water seen from above, swell and wind ripples with a few glints, made whole.
#include <cmath>

#include "artwork.h"
#include "noise.h"

namespace artgen {

Picture makeSea() {
  constexpr int width = 1094, height = 685;
  constexpr std::uint64_t seed = 0x5EA5EA;
  Picture sea(width, height);
  const Rgb deep = rgb255(8, 26, 58), shallow = rgb255(22, 58, 98), crest = rgb255(70, 112, 150);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double px = x, py = y;
      const double bend = fractal(px / 180, py / 180, 3, seed) - 0.5;
      // The swell runs from the south-west; noise bends its fronts so they never repeat.
      const double along = px * 0.42 + py * 0.91 + 60 * bend;
      const double across = px * 0.91 - py * 0.42;
      const double swell = fractal(along / 28, across / 90, 4, seed + 1);
      const double ripples = ridged(along / 7, across / 22, 3, seed + 2);
      const double depth = fractal(px / 260, py / 260, 4, seed + 3);
      Rgb water = mix(deep, shallow, 0.2 + 0.6 * depth);
      water = scale(water, 0.78 + 0.45 * swell);
      water = mix(water, crest, 0.28 * std::pow(ripples, 3) * (0.4 + swell));
      const double glint = fractal(px / 3, py / 3, 2, seed + 4) * swell * ripples;
      water = mix(water, rgb255(150, 180, 205), smoothstep(0.45, 0.6, glint) * 0.4);
      sea.set(x, y, water);
    }
  }
  return sea;
}

}  // namespace artgen
