// Decoding of PNG and JPEG pictures held in memory into image slots.
// clang-format off
#include <cstdio>  // before jpeglib.h, which uses FILE without including its header
#include <jpeglib.h>
// clang-format on
#include <png.h>

#include <bit>
#include <csetjmp>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/common/surfaces.h"

namespace platform {
namespace {

// Both decoders write their rows straight into the image as blue, green, red, alpha bytes,
// which on a little-endian machine are the image's 0xAARRGGBB pixels: no second copy of a
// picture is made, which matters at start-up, where first touching fresh memory is what costs.
static_assert(std::endian::native == std::endian::little);

// The decoders report errors by longjmp. Everything with a destructor is owned by the caller of
// the function that calls setjmp, so a jump past the decoder's C frames releases nothing twice
// and leaks nothing.
struct Pixels {
  surfaces::Image image;
  std::vector<unsigned char*> rows;
};

bool sizeAcceptable(std::uint64_t width, std::uint64_t height) {
  const auto limit = static_cast<std::uint64_t>(surfaces::maxImageSide);
  return width > 0 && height > 0 && width <= limit && height <= limit;
}

void allocateRows(Pixels& pixels, std::int64_t width, std::int64_t height) {
  surfaces::Image& image = pixels.image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<std::size_t>(width * height));
  pixels.rows.resize(static_cast<std::size_t>(height));
  for (std::int64_t row = 0; row < height; ++row) {
    pixels.rows[static_cast<std::size_t>(row)] =
        reinterpret_cast<unsigned char*>(&image.pixels[static_cast<std::size_t>(row * width)]);
  }
}

// --- PNG

struct PngSource {
  const unsigned char* data;
  std::size_t size;
  std::size_t offset = 0;
};

void pngRead(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->size - source->offset) png_error(png, "truncated");
  std::memcpy(out, source->data + source->offset, length);
  source->offset += length;
}

[[noreturn]] void pngFail(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void pngIgnore(png_structp, png_const_charp) {}

bool readPng(png_structp png, png_infop info, Pixels& pixels) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_user_limits(png, static_cast<png_uint_32>(surfaces::maxImageSide),
                      static_cast<png_uint_32>(surfaces::maxImageSide));
  png_read_info(png, info);
  // The filler below makes every row RGBA, so the alpha flag comes from the file's own
  // channels or its transparency chunk.
  pixels.image.hasAlpha = (png_get_color_type(png, info) & PNG_COLOR_MASK_ALPHA) != 0 ||
                          png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!sizeAcceptable(width, height) || png_get_rowbytes(png, info) != std::size_t{width} * 4) {
    return false;
  }
  allocateRows(pixels, width, height);
  png_read_image(png, pixels.rows.data());
  png_read_end(png, nullptr);
  return true;
}

bool decodePng(const unsigned char* data, std::size_t size, Pixels& pixels) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngFail, pngIgnore);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  PngSource source{data, size};
  bool ok = false;
  if (info != nullptr) {
    png_set_read_fn(png, &source, pngRead);
    ok = readPng(png, info, pixels);
  }
  png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
  return ok;
}

// --- JPEG

struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

[[noreturn]] void jpegFail(j_common_ptr common) {
  std::longjmp(reinterpret_cast<JpegErrors*>(common->err)->jump, 1);
}

// libjpeg only warns about a truncated or damaged stream and fills in grey; a built-in picture
// that is damaged must fail instead.
void jpegMessage(j_common_ptr common, int level) {
  if (level < 0) jpegFail(common);
}

bool readJpeg(jpeg_decompress_struct& jpeg, JpegErrors& errors, const unsigned char* data,
              std::size_t size, Pixels& pixels) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_decompress(&jpeg);
  jpeg_mem_src(&jpeg, data, static_cast<unsigned long>(size));
  jpeg_read_header(&jpeg, TRUE);
  if (!sizeAcceptable(jpeg.image_width, jpeg.image_height)) return false;
  // libjpeg-turbo fills the fourth byte with 0xFF: the picture is opaque.
  jpeg.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&jpeg);
  if (jpeg.output_components != 4) return false;
  pixels.image.hasAlpha = false;
  allocateRows(pixels, jpeg.output_width, jpeg.output_height);
  while (jpeg.output_scanline < jpeg.output_height) {
    jpeg_read_scanlines(&jpeg, &pixels.rows[jpeg.output_scanline],
                        jpeg.output_height - jpeg.output_scanline);
  }
  jpeg_finish_decompress(&jpeg);
  return true;
}

bool decodeJpeg(const unsigned char* data, std::size_t size, Pixels& pixels) {
  // Zeroed, so that destroying it is safe even when creating it failed.
  jpeg_decompress_struct jpeg{};
  JpegErrors errors{};
  jpeg.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = jpegFail;
  errors.manager.emit_message = jpegMessage;
  const bool ok = readJpeg(jpeg, errors, data, size, pixels);
  jpeg_destroy_decompress(&jpeg);
  return ok;
}

// --- Both

bool startsWith(const unsigned char* data, std::size_t size, const unsigned char* magic,
                std::size_t length) {
  return size >= length && std::memcmp(data, magic, length) == 0;
}

}  // namespace

bool decodeImage(std::int64_t slot, const unsigned char* data, std::size_t size) {
  static constexpr unsigned char pngMagic[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  static constexpr unsigned char jpegMagic[] = {0xFF, 0xD8, 0xFF};
  if (slot < 0 || slot >= imageSlotCount || data == nullptr) return false;
  Pixels pixels;
  const bool decoded =
      startsWith(data, size, pngMagic, sizeof pngMagic)     ? decodePng(data, size, pixels)
      : startsWith(data, size, jpegMagic, sizeof jpegMagic) ? decodeJpeg(data, size, pixels)
                                                            : false;
  return decoded && surfaces::storeImage(slot, std::move(pixels.image));
}

}  // namespace platform
