// Seeded hashing, a splitmix generator, value noise and jittered cells.
#pragma once

#include <cstdint>

namespace artgen {

// A small generator of its own, so the pictures come out the same with every standard library.
class SplitMix {
 public:
  explicit SplitMix(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next();
  double unit();  // uniform in [0, 1)
  double range(double low, double high) { return low + (high - low) * unit(); }

 private:
  std::uint64_t state_;
};

// A well-mixed hash of a lattice point, uniform in [0, 1).
double hashUnit(std::int64_t x, std::int64_t y, std::uint64_t seed);

// Smooth value noise with features about one unit apart, in [0, 1].
double valueNoise(double x, double y, std::uint64_t seed);

// Sum of octaves of value noise, each half the size and half the weight of the last; in [0, 1].
double fractal(double x, double y, int octaves, std::uint64_t seed);

// Sharp crests where the noise crosses its middle, as eroded ridges; in [0, 1].
double ridged(double x, double y, int octaves, std::uint64_t seed);

// The nearest and second-nearest feature points of a jittered grid of unit cells.
struct Cells {
  double nearest = 0;     // distance to the closest feature point
  double second = 0;      // distance to the next one; second - nearest is small on cell borders
  double id = 0;          // a value in [0, 1) that names the closest cell
  double dx = 0, dy = 0;  // offset from the closest feature point
};
Cells cells(double x, double y, std::uint64_t seed);

}  // namespace artgen
