// The Screen in the window: renderer and texture, upload of what changed, stretch, pacing.
#include "platform/sdl/screen.h"

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <string_view>
#include <thread>

#include "platform/common/backend.h"
#include "platform/platform.h"
#include "platform/sdl/window.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int pitch = static_cast<int>(screenWidth) * 4;

SDL_Renderer* renderer = nullptr;
SDL_Texture* texture = nullptr;
int outputWidth = 0;
int outputHeight = 0;
bool wholeUploadDue = true;
Clock::duration presentInterval{};
Clock::time_point lastPresent{};
bool presentedBefore = false;

// Uploads what changed since the last upload; false when nothing did.
bool upload() {
  int w = 0, h = 0;
  SDL_GetRendererOutputSize(renderer, &w, &h);
  if (w != outputWidth || h != outputHeight) {
    outputWidth = w;
    outputHeight = h;
    wholeUploadDue = true;
  }
  const backend::Rect changed = backend::takeChangedRect();
  const std::uint32_t* pixels = backend::screenPixels();
  if (wholeUploadDue) {
    SDL_UpdateTexture(texture, nullptr, pixels, pitch);
    wholeUploadDue = false;
    return true;
  }
  if (changed.empty()) return false;
  const SDL_Rect rect{static_cast<int>(changed.x), static_cast<int>(changed.y),
                      static_cast<int>(changed.right - changed.x),
                      static_cast<int>(changed.bottom - changed.y)};
  SDL_UpdateTexture(texture, &rect, pixels + changed.y * screenWidth + changed.x, pitch);
  return true;
}

// The whole texture over the whole output: width and height scale independently.
void show() {
  sdl::correctStaleSize();
  SDL_RenderCopy(renderer, texture, nullptr, nullptr);
  SDL_RenderPresent(renderer);
}

// Sleeps, never spins: the kernel wakes the thread within tens of microseconds
// of the deadline, far less than a frame.
void waitForNextFrame() {
  if (presentInterval == Clock::duration::zero() || !presentedBefore) return;
  const Clock::time_point deadline = lastPresent + presentInterval;
  while (Clock::now() <= deadline) std::this_thread::sleep_until(deadline);
}

}  // namespace

namespace sdl {

void repaint() {
  if (renderer == nullptr) return;
  wholeUploadDue = true;
  upload();
  show();
}

}  // namespace sdl

// The shared surface code calls these hooks; the desktop keeps no record of drawing.
// They live beside present, which every program presenting links, so that the
// linker has pulled them in before it reads the shared code that needs them.
namespace backend {

void noteDrawing() {}

void noteText(std::int64_t, std::int64_t, std::int64_t, std::string_view, Colour) {}

}  // namespace backend

bool openScreen() {
  if (renderer != nullptr) return true;
  SDL_Window* window = sdl::window();
  if (window == nullptr) return false;
  // Read when the texture is made: a maximised window shows the Screen smoothly scaled.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
  // The game draws in software and shows a few small changes per frame: the
  // software renderer does that without loading a GL stack (tens of megabytes
  // and a slower start) and needs no GPU. Presents are paced by the clock.
  renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
  if (renderer == nullptr) return false;
  texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                              static_cast<int>(screenWidth), static_cast<int>(screenHeight));
  if (texture == nullptr) {
    closeScreen();
    return false;
  }
  // The Screen's top byte is not an alpha: copy, never blend.
  SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
  sdl::repaint();
  return true;
}

void closeScreen() {
  if (texture != nullptr) SDL_DestroyTexture(texture);
  if (renderer != nullptr) SDL_DestroyRenderer(renderer);
  texture = nullptr;
  renderer = nullptr;
  outputWidth = 0;
  outputHeight = 0;
  wholeUploadDue = true;
  presentedBefore = false;
}

void setFrameRate(std::int64_t perSecond) {
  // One frame more than asked, so that the time a present itself takes does not
  // pull the rate below the target.
  presentInterval = perSecond > 0 ? std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::nanoseconds(1'000'000'000 / (perSecond + 1)))
                                  : Clock::duration::zero();
}

void present() {
  if (renderer == nullptr) return;
  // A present with nothing new keeps its pace but costs no upload or blit, so an
  // idle turn that presents every pass uses next to no CPU.
  if (upload()) show();
  waitForNextFrame();
  lastPresent = Clock::now();
  presentedBefore = true;
}

}  // namespace platform
