// The window tests' own X connection: window lookup, read-back, XTEST input, window-manager
// requests.
#include "x_probe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace window_testing {
namespace {

struct Property {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned char* data = nullptr;
  ~Property() {
    if (data != nullptr) XFree(data);
  }
};

bool readProperty(Display* display, XWindow window, const char* name, Property& out) {
  unsigned long remaining = 0;
  const Atom atom = XInternAtom(display, name, False);
  return XGetWindowProperty(display, window, atom, 0, 1 << 20, False, AnyPropertyType, &out.type,
                            &out.format, &out.count, &remaining, &out.data) == Success &&
         out.data != nullptr;
}

// Windows come and go while the tests walk the tree: a request about a window
// that has just gone fails, and the caller sees an empty answer instead.
int ignoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

XProbe::XProbe() : display_(XOpenDisplay(nullptr)) { XSetErrorHandler(ignoreError); }

XProbe::~XProbe() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

std::string XProbe::title(XWindow window) {
  Property utf8;
  if (readProperty(display_, window, "_NET_WM_NAME", utf8) && utf8.format == 8) {
    return std::string(reinterpret_cast<const char*>(utf8.data), utf8.count);
  }
  Property latin;
  if (readProperty(display_, window, "WM_NAME", latin) && latin.format == 8) {
    return std::string(reinterpret_cast<const char*>(latin.data), latin.count);
  }
  return {};
}

XWindow XProbe::findWindow(const std::string& wanted) {
  std::vector<XWindow> pending{DefaultRootWindow(display_)};
  while (!pending.empty()) {
    const XWindow window = pending.back();
    pending.pop_back();
    if (title(window) == wanted) return window;
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, window, &root, &parent, &children, &count) != 0) {
      pending.insert(pending.end(), children, children + count);
      if (children != nullptr) XFree(children);
    }
  }
  return 0;
}

Geometry XProbe::geometry(XWindow window) {
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display_, window, &attributes) == 0) return {};
  ::Window child = 0;
  Geometry g;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &g.x, &g.y, &child);
  g.width = attributes.width;
  g.height = attributes.height;
  g.viewable = attributes.map_state == IsViewable;
  return g;
}

std::uint32_t XProbe::pixel(XWindow window, int x, int y) {
  // Read from the root: what the server shows there, whoever drew it.
  const Geometry g = geometry(window);
  XImage* image =
      XGetImage(display_, DefaultRootWindow(display_), g.x + x, g.y + y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return 0xFFFFFFFF;
  const unsigned long value = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  return static_cast<std::uint32_t>(value & 0xFFFFFF);
}

std::vector<unsigned long> XProbe::cardinals(XWindow window, const char* property) {
  Property p;
  if (!readProperty(display_, window, property, p) || p.format != 32) return {};
  // Xlib hands 32-bit items over as longs.
  const unsigned long* items = reinterpret_cast<const unsigned long*>(p.data);
  return std::vector<unsigned long>(items, items + p.count);
}

std::vector<std::string> XProbe::atomNames(XWindow window, const char* property) {
  std::vector<std::string> names;
  for (unsigned long atom : cardinals(window, property)) {
    char* name = XGetAtomName(display_, atom);
    if (name == nullptr) continue;
    names.emplace_back(name);
    XFree(name);
  }
  return names;
}

void XProbe::key(const char* keysym, bool press) {
  const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysym));
  XTestFakeKeyEvent(display_, code, press ? True : False, CurrentTime);
  XFlush(display_);
}

void XProbe::tap(const char* keysym) {
  key(keysym, true);
  key(keysym, false);
}

void XProbe::moveTo(XWindow window, int x, int y) {
  const Geometry g = geometry(window);
  XTestFakeMotionEvent(display_, DefaultScreen(display_), g.x + x, g.y + y, CurrentTime);
  XFlush(display_);
}

void XProbe::button(int number, bool press) {
  XTestFakeButtonEvent(display_, static_cast<unsigned int>(number), press ? True : False,
                       CurrentTime);
  XFlush(display_);
}

void XProbe::focus(XWindow window) {
  XSetInputFocus(display_, window, RevertToParent, CurrentTime);
  XSync(display_, False);
}

void XProbe::rootMessage(XWindow window, const char* type, const std::vector<long>& data) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, type, False);
  event.xclient.format = 32;
  for (std::size_t i = 0; i < data.size() && i < 5; ++i) event.xclient.data.l[i] = data[i];
  XSendEvent(display_, DefaultRootWindow(display_), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display_);
}

void XProbe::setMaximised(XWindow window, bool maximised) {
  rootMessage(window, "_NET_WM_STATE",
              {maximised ? 1 : 0,
               static_cast<long>(XInternAtom(display_, "_NET_WM_STATE_MAXIMIZED_VERT", False)),
               static_cast<long>(XInternAtom(display_, "_NET_WM_STATE_MAXIMIZED_HORZ", False)), 1});
}

void XProbe::minimise(XWindow window) { rootMessage(window, "WM_CHANGE_STATE", {IconicState}); }

void XProbe::activate(XWindow window) { rootMessage(window, "_NET_ACTIVE_WINDOW", {2, 0, 0}); }

void XProbe::requestClose(XWindow window) { rootMessage(window, "_NET_CLOSE_WINDOW", {0, 2}); }

void XProbe::forceSize(XWindow window, int width, int height) {
  constexpr long widthGiven = 1 << 10, heightGiven = 1 << 11, fromPager = 2 << 12;
  rootMessage(window, "_NET_MOVERESIZE_WINDOW",
              {widthGiven | heightGiven | fromPager, 0, 0, width, height});
}

XWindow XProbe::cover(int x, int y, int width, int height) {
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = WhitePixel(display_, DefaultScreen(display_));
  const XWindow window =
      XCreateWindow(display_, DefaultRootWindow(display_), x, y, static_cast<unsigned int>(width),
                    static_cast<unsigned int>(height), 0, CopyFromParent, InputOutput,
                    CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
  XMapRaised(display_, window);
  XSync(display_, False);
  return window;
}

void XProbe::destroy(XWindow window) {
  XDestroyWindow(display_, window);
  XSync(display_, False);
}

void XProbe::flush() { XSync(display_, False); }

}  // namespace window_testing
