// The window tests' own connection to the X server: finding windows, reading them back, real input.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Kept free of Xlib's headers, whose macros (None, Bool, Status) collide with other code.
struct _XDisplay;

namespace window_testing {

using XWindow = unsigned long;

struct Geometry {
  int x = 0, y = 0;  // top-left corner of the client area on the root window
  int width = 0, height = 0;
  bool viewable = false;
};

class XProbe {
 public:
  XProbe();  // connects to $DISPLAY; connected() tells whether that worked
  ~XProbe();
  XProbe(const XProbe&) = delete;
  XProbe& operator=(const XProbe&) = delete;

  bool connected() const { return display_ != nullptr; }

  // The first window anywhere in the tree whose _NET_WM_NAME or WM_NAME is the
  // title; 0 when there is none.
  XWindow findWindow(const std::string& title);
  std::string title(XWindow window);
  Geometry geometry(XWindow window);

  // The colour the X server shows at a client pixel, 0xRRGGBB.
  std::uint32_t pixel(XWindow window, int x, int y);

  // A property as 32-bit items, and an atom-list property as atom names.
  std::vector<unsigned long> cardinals(XWindow window, const char* property);
  std::vector<std::string> atomNames(XWindow window, const char* property);

  // Input through XTEST; keys by keysym name ("J", "Escape", "Alt_L").
  void key(const char* keysym, bool press);
  void tap(const char* keysym);
  void moveTo(XWindow window, int x, int y);  // client coordinates
  void button(int number, bool press);
  void focus(XWindow window);

  // What a window manager or a pager sends: _NET_WM_STATE (action 0 remove,
  // 1 add) for the two maximised states, minimise, activation, close.
  void setMaximised(XWindow window, bool maximised);
  void minimise(XWindow window);
  void activate(XWindow window);
  void requestClose(XWindow window);
  void forceSize(XWindow window, int width, int height);  // as a tiling manager does

  // Another application's window over the given root rectangle, white.
  XWindow cover(int x, int y, int width, int height);
  void destroy(XWindow window);

  void flush();

 private:
  void rootMessage(XWindow window, const char* type, const std::vector<long>& data);

  _XDisplay* display_ = nullptr;
};

}  // namespace window_testing
