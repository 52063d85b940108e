// Colour arithmetic and the PNG and JPEG writers, through libpng and libjpeg directly.
#include "raster.h"

// jpeglib.h uses FILE without including its header.
#include <jpeglib.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace artgen {

Rgb rgb255(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
Rgb mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
Rgb scale(Rgb c, double factor) { return {c.r * factor, c.g * factor, c.b * factor}; }
Rgb add(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
double luminance(Rgb c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }
double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
double smoothstep(double edge0, double edge1, double v) {
  const double t = clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

namespace {

std::uint8_t toByte(double v) { return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255)); }

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

Picture::Picture(int width, int height)
    : width_(width), height_(height), rgba_(static_cast<std::size_t>(width) * height * 4, 0) {}

void Picture::set(int x, int y, Rgb colour, double alpha) {
  std::uint8_t* p = &rgba_[(static_cast<std::size_t>(y) * width_ + x) * 4];
  p[0] = toByte(colour.r);
  p[1] = toByte(colour.g);
  p[2] = toByte(colour.b);
  p[3] = toByte(alpha);
}

bool writePng(const Picture& picture, const std::string& path) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  // libpng reports errors by longjmp; nothing with a destructor lives between here and the end.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()),
               static_cast<png_uint_32>(picture.height()), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  const auto stride = static_cast<std::size_t>(picture.width()) * 4;
  for (int y = 0; y < picture.height(); ++y) {
    png_write_row(png, picture.bytes().data() + stride * static_cast<std::size_t>(y));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fflush(file.get()) == 0;
}

bool writeJpeg(const Picture& picture, const std::string& path, int quality) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  jpeg_compress_struct jpeg{};
  jpeg_error_mgr errors{};
  jpeg.err = jpeg_std_error(&errors);
  jpeg_create_compress(&jpeg);
  jpeg_stdio_dest(&jpeg, file.get());
  jpeg.image_width = static_cast<JDIMENSION>(picture.width());
  jpeg.image_height = static_cast<JDIMENSION>(picture.height());
  jpeg.input_components = 3;
  jpeg.in_color_space = JCS_RGB;
  jpeg_set_defaults(&jpeg);
  jpeg_set_quality(&jpeg, quality, TRUE);
  // The integer transform gives the same bytes whatever SIMD the library picks.
  jpeg.dct_method = JDCT_ISLOW;
  jpeg.optimize_coding = TRUE;
  jpeg_start_compress(&jpeg, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.width()) * 3);
  const std::uint8_t* source = picture.bytes().data();
  while (jpeg.next_scanline < jpeg.image_height) {
    for (std::size_t x = 0; x < row.size() / 3; ++x) {
      for (std::size_t c = 0; c < 3; ++c) row[x * 3 + c] = source[x * 4 + c];
    }
    source += static_cast<std::size_t>(picture.width()) * 4;
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&jpeg, rows, 1);
  }
  jpeg_finish_compress(&jpeg);
  jpeg_destroy_compress(&jpeg);
  return std::fflush(file.get()) == 0;
}

}  // namespace artgen
