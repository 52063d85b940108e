// Decoding of the window icon PNG into an SDL surface.
#include "platform/sdl/icon.h"

#include <png.h>

namespace platform::sdl {

SDL_Surface* decodeIcon(std::span<const unsigned char> png) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png.empty() || !png_image_begin_read_from_memory(&image, png.data(), png.size())) {
    return nullptr;
  }
  image.format = PNG_FORMAT_RGBA;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(
      0, static_cast<int>(image.width), static_cast<int>(image.height), 32, SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) {
    png_image_free(&image);
    return nullptr;
  }
  // For 8-bit channels the row stride counts bytes, so the surface's pitch serves.
  if (!png_image_finish_read(&image, nullptr, surface->pixels, surface->pitch, nullptr)) {
    SDL_FreeSurface(surface);
    return nullptr;
  }
  return surface;
}

}  // namespace platform::sdl
