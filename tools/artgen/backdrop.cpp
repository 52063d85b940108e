// The backdrop: bands of colour folded into swirls, with soft light, for the screen before a game.
#include <array>
#include <cmath>

#include "artwork.h"
#include "noise.h"

namespace artgen {

namespace {

struct Swirl {
  double x, y, radius, turn;
};

// Colours the swirling bands run through, from deep violet over teal and gold to crimson.
Rgb band(double t) {
  static const std::array<Rgb, 7> stops = {
      rgb255(40, 16, 92),  rgb255(18, 92, 150), rgb255(20, 158, 150), rgb255(236, 190, 60),
      rgb255(222, 96, 40), rgb255(170, 24, 82), rgb255(40, 16, 92)};
  t -= std::floor(t);
  const double at = t * (stops.size() - 1);
  const auto i = static_cast<std::size_t>(at);
  return mix(stops[i], stops[i + 1], smoothstep(0, 1, at - static_cast<double>(i)));
}

}  // namespace

Picture makeBackdrop() {
  constexpr int width = 1280, height = 720;
  constexpr std::uint64_t seed = 0xBAC4D0;
  static const std::array<Swirl, 5> swirls = {{{300, 260, 260, 2.4},
                                               {820, 470, 300, -2.0},
                                               {1180, 300, 200, 2.8},
                                               {640, 120, 180, -1.6},
                                               {1150, 620, 170, -2.5}}};
  Picture picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double px = x, py = y;
      for (const Swirl& s : swirls) {
        const double dx = px - s.x, dy = py - s.y;
        const double r = std::hypot(dx, dy) / s.radius;
        const double angle = s.turn * std::exp(-r * r);
        const double c = std::cos(angle), sn = std::sin(angle);
        px = s.x + dx * c - dy * sn;
        py = s.y + dx * sn + dy * c;
      }
      const double flow = fractal(px / 420, py / 420, 5, seed);
      const double t = px / 1500 + py / 1900 + 1.6 * flow;
      Rgb colour = band(t);
      const double fine = fractal(px / 40, py / 40, 3, seed + 1);
      colour = scale(colour, 0.8 + 0.35 * fine);
      // Soft light from the upper left, and a sheen along the bands as on folded silk.
      const double glow = std::exp(-std::hypot(x - 380.0, y - 170.0) / 420);
      colour = mix(colour, rgb255(255, 240, 210), 0.3 * glow);
      const double sheen = std::pow(std::fmax(0.0, std::sin(t * 9)), 6);
      colour = mix(colour, rgb255(255, 246, 228), 0.22 * sheen);
      picture.set(x, y, colour);
    }
  }
  return picture;
}

}  // namespace artgen
