// The program icon: an island with a red flag on a rounded tile of sea, at any size.
#include <cmath>

#include "artwork.h"

namespace artgen {

namespace {

struct Sample {
  Rgb colour;
  double alpha = 0;
};

double roundedSquare(double x, double y, double inset, double radius) {
  const double qx = std::fabs(x - 0.5) - (0.5 - inset - radius);
  const double qy = std::fabs(y - 0.5) - (0.5 - inset - radius);
  return std::hypot(std::fmax(qx, 0.0), std::fmax(qy, 0.0)) + std::fmin(std::fmax(qx, qy), 0.0) -
         radius;
}

// Signed distance-like measure of the island: negative inside.
double island(double x, double y) {
  const double dx = (x - 0.5) / 0.37, dy = (y - 0.67) / 0.2;
  const double angle = std::atan2(dy, dx);
  const double wobble = 0.07 * std::sin(3 * angle + 0.6) + 0.05 * std::sin(7 * angle + 2.1);
  return (std::hypot(dx, dy) - 1 - wobble) * 0.2;
}

double flagTop(double x) { return 0.15 + 0.035 * std::sin((x - 0.54) * 14); }

Sample iconAt(double x, double y) {
  const double tile = roundedSquare(x, y, 0.03, 0.18);
  if (tile > 0) return {};
  Rgb colour = mix(rgb255(24, 84, 150), rgb255(10, 36, 86), y);
  // Short crests of swell in rows, each row shifted against the last.
  const double row = y * 7 + 0.12 * std::sin(x * 30);
  const double crest = std::fabs(row - std::floor(row) - 0.5);
  const double dash = std::sin(x * 11 + std::floor(row) * 2.4);
  if (crest < 0.045 && dash > 0.35) colour = mix(colour, rgb255(110, 170, 220), 0.55);
  const double land = island(x, y);
  if (land < 0.012) colour = rgb255(18, 30, 20);
  if (land < 0.0) colour = rgb255(214, 192, 120);  // beach
  if (land < -0.018) {
    const double lit = 0.5 + 0.5 * ((0.5 - x) + (0.6 - y)) * 2.5;
    colour = mix(rgb255(46, 112, 40), rgb255(126, 178, 62), std::fmax(0.0, std::fmin(1.0, lit)));
  }
  const bool pole = std::fabs(x - 0.52) < 0.018 && y > 0.12 && y < 0.68;
  if (pole) colour = rgb255(70, 44, 24);
  const double top = flagTop(x);
  if (x > 0.538 && x < 0.83 && y > top && y < top + 0.19) {
    colour = y < top + 0.03 || y > top + 0.16 ? rgb255(250, 214, 40) : rgb255(206, 34, 36);
    colour = scale(colour, 0.85 + 0.2 * std::sin((x - 0.54) * 14 + 1.2));
  }
  if (tile > -0.02) colour = rgb255(8, 20, 44);
  return {colour, 1};
}

}  // namespace

Picture makeIcon(int size) {
  Picture icon(size, size);
  constexpr int steps = 4;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      Rgb sum;
      double alpha = 0;
      for (int sy = 0; sy < steps; ++sy) {
        for (int sx = 0; sx < steps; ++sx) {
          const Sample s = iconAt((x + (sx + 0.5) / steps) / size, (y + (sy + 0.5) / steps) / size);
          sum = add(sum, scale(s.colour, s.alpha));
          alpha += s.alpha;
        }
      }
      icon.set(x, y, alpha > 0 ? scale(sum, 1 / alpha) : Rgb{}, alpha / (steps * steps));
    }
  }
  return icon;
}

}  // namespace artgen
