// Colours in floating point, an 8-bit RGBA picture and its PNG and JPEG writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace artgen {

// A colour with channels in 0..1; values outside are clamped when stored.
struct Rgb {
  double r = 0, g = 0, b = 0;
};

Rgb rgb255(int r, int g, int b);
Rgb mix(Rgb a, Rgb b, double t);  // a at t = 0, b at t = 1
Rgb scale(Rgb c, double factor);
Rgb add(Rgb a, Rgb b);
double luminance(Rgb c);
double clamp01(double v);
double smoothstep(double edge0, double edge1, double v);

class Picture {
 public:
  Picture(int width, int height);  // fully transparent black
  int width() const { return width_; }
  int height() const { return height_; }
  void set(int x, int y, Rgb colour, double alpha = 1);
  const std::vector<std::uint8_t>& bytes() const { return rgba_; }

 private:
  int width_, height_;
  std::vector<std::uint8_t> rgba_;
};

// Both return false when the file cannot be written.
bool writePng(const Picture& picture, const std::string& path);
bool writeJpeg(const Picture& picture, const std::string& path, int quality);

}  // namespace artgen
