// Translation of SDL keys to Windows virtual-key codes.
#include "platform/sdl/keys.h"

namespace platform::sdl {
namespace {

struct KeyCode {
  SDL_Keycode key;
  std::int64_t virtualKey;
};

constexpr KeyCode namedKeys[] = {
    {SDLK_BACKSPACE, 8},   {SDLK_TAB, 9},           {SDLK_RETURN, 13},     {SDLK_KP_ENTER, 13},
    {SDLK_LSHIFT, 16},     {SDLK_RSHIFT, 16},       {SDLK_LCTRL, 17},      {SDLK_RCTRL, 17},
    {SDLK_LALT, 18},       {SDLK_RALT, 18},         {SDLK_PAUSE, 19},      {SDLK_CAPSLOCK, 20},
    {SDLK_ESCAPE, 27},     {SDLK_SPACE, 32},        {SDLK_PAGEUP, 33},     {SDLK_PAGEDOWN, 34},
    {SDLK_END, 35},        {SDLK_HOME, 36},         {SDLK_LEFT, 37},       {SDLK_UP, 38},
    {SDLK_RIGHT, 39},      {SDLK_DOWN, 40},         {SDLK_INSERT, 45},     {SDLK_DELETE, 46},
    {SDLK_KP_0, 96},       {SDLK_KP_1, 97},         {SDLK_KP_2, 98},       {SDLK_KP_3, 99},
    {SDLK_KP_4, 100},      {SDLK_KP_5, 101},        {SDLK_KP_6, 102},      {SDLK_KP_7, 103},
    {SDLK_KP_8, 104},      {SDLK_KP_9, 105},        {SDLK_F1, 112},        {SDLK_F2, 113},
    {SDLK_F3, 114},        {SDLK_F4, 115},          {SDLK_F5, 116},        {SDLK_F6, 117},
    {SDLK_F7, 118},        {SDLK_F8, 119},          {SDLK_F9, 120},        {SDLK_F10, 121},
    {SDLK_F11, 122},       {SDLK_F12, 123},         {SDLK_SEMICOLON, 186}, {SDLK_EQUALS, 187},
    {SDLK_COMMA, 188},     {SDLK_MINUS, 189},       {SDLK_PERIOD, 190},    {SDLK_SLASH, 191},
    {SDLK_BACKQUOTE, 192}, {SDLK_LEFTBRACKET, 219}, {SDLK_BACKSLASH, 220}, {SDLK_RIGHTBRACKET, 221},
    {SDLK_QUOTE, 222},
};

}  // namespace

std::int64_t virtualKey(const SDL_Keysym& key) {
  // SDL names a letter by its lower-case character whether or not Shift is held.
  if (key.sym >= SDLK_a && key.sym <= SDLK_z) return key.sym - SDLK_a + 'A';
  if (key.sym >= SDLK_0 && key.sym <= SDLK_9) return key.sym;
  for (const KeyCode& named : namedKeys) {
    if (named.key == key.sym) return named.virtualKey;
  }
  // On a layout without Latin letters, a letter or digit key keeps the code of
  // its place on the keyboard, as on Windows.
  if (key.scancode >= SDL_SCANCODE_A && key.scancode <= SDL_SCANCODE_Z) {
    return key.scancode - SDL_SCANCODE_A + 'A';
  }
  if (key.scancode >= SDL_SCANCODE_1 && key.scancode <= SDL_SCANCODE_9) {
    return key.scancode - SDL_SCANCODE_1 + '1';
  }
  if (key.scancode == SDL_SCANCODE_0) return '0';
  return 0;
}

}  // namespace platform::sdl
