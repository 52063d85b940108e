// Seeded hashing, the splitmix generator, value noise, fractal sums and jittered cells.
#include "noise.h"

#include <cmath>

namespace artgen {

namespace {

std::uint64_t mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

double toUnit(std::uint64_t bits) { return static_cast<double>(bits >> 11) * 0x1.0p-53; }

double fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

}  // namespace

std::uint64_t SplitMix::next() {
  state_ += 0x9E3779B97F4A7C15ULL;
  return mix(state_);
}

double SplitMix::unit() { return toUnit(next()); }

double hashUnit(std::int64_t x, std::int64_t y, std::uint64_t seed) {
  const std::uint64_t h = mix(static_cast<std::uint64_t>(x) * 0x9E3779B97F4A7C15ULL ^
                              mix(static_cast<std::uint64_t>(y) + 0x632BE59BD9B4E019ULL) ^ seed);
  return toUnit(mix(h));
}

double valueNoise(double x, double y, std::uint64_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const auto ix = static_cast<std::int64_t>(fx), iy = static_cast<std::int64_t>(fy);
  const double u = fade(x - fx), v = fade(y - fy);
  const double a = hashUnit(ix, iy, seed), b = hashUnit(ix + 1, iy, seed);
  const double c = hashUnit(ix, iy + 1, seed), d = hashUnit(ix + 1, iy + 1, seed);
  return (a + (b - a) * u) + ((c + (d - c) * u) - (a + (b - a) * u)) * v;
}

double fractal(double x, double y, int octaves, std::uint64_t seed) {
  double sum = 0, weight = 1, total = 0;
  for (int o = 0; o < octaves; ++o) {
    // The slight turn between octaves hides the lattice's axis alignment.
    const double rx = x * 0.8 - y * 0.6, ry = x * 0.6 + y * 0.8;
    sum += weight * valueNoise(rx, ry, seed + static_cast<std::uint64_t>(o) * 0x51ED27ULL);
    total += weight;
    weight *= 0.5;
    x = rx * 2.03;
    y = ry * 2.03;
  }
  return sum / total;
}

double ridged(double x, double y, int octaves, std::uint64_t seed) {
  double sum = 0, weight = 1, total = 0;
  for (int o = 0; o < octaves; ++o) {
    const double rx = x * 0.8 - y * 0.6, ry = x * 0.6 + y * 0.8;
    const double n =
        1 - std::fabs(valueNoise(rx, ry, seed + static_cast<std::uint64_t>(o)) * 2 - 1);
    sum += weight * n * n;
    total += weight;
    weight *= 0.5;
    x = rx * 2.03;
    y = ry * 2.03;
  }
  return sum / total;
}

Cells cells(double x, double y, std::uint64_t seed) {
  const auto cx = static_cast<std::int64_t>(std::floor(x));
  const auto cy = static_cast<std::int64_t>(std::floor(y));
  Cells result;
  result.nearest = result.second = 1e9;
  for (std::int64_t j = cy - 1; j <= cy + 1; ++j) {
    for (std::int64_t i = cx - 1; i <= cx + 1; ++i) {
      const double px = static_cast<double>(i) + 0.1 + 0.8 * hashUnit(i, j, seed);
      const double py = static_cast<double>(j) + 0.1 + 0.8 * hashUnit(i, j, seed ^ 0xA5A5ULL);
      const double d = std::hypot(x - px, y - py);
      if (d < result.nearest) {
        result.second = result.nearest;
        result.nearest = d;
        result.id = hashUnit(i, j, seed ^ 0x5A5AULL);
        result.dx = x - px;
        result.dy = y - py;
      } else if (d < result.second) {
        result.second = d;
      }
    }
  }
  return result;
}

}  // namespace artgen
