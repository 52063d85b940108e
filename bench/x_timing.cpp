// Watches the game window through Xlib: start-up times, waits for a colour or the human turn.
//
//   x_timing startup RUNS PROGRAM     start the program RUNS times; report when its window maps,
//                                     shows its first picture and shows the information prompt
//   x_timing wait-pixel X Y RRGGBB MS until the client pixel (X, Y) has that colour
//   x_timing wait-turn MS             until the box of YOU shows yellow text (its turn)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t promptRed = 0xB90F00;    // the message line while a message shows
constexpr std::uint32_t humanColour = 0xA0A03C;  // the box of YOU
constexpr std::uint32_t activeText = 0xFFFF00;   // the text of the box whose turn it is
constexpr int messageX = 300, messageY = 700;
constexpr int middleX = 640, middleY = 360;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void pause1ms() { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }

// A window that vanishes between finding and reading it is expected while the game starts or ends.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

class XWatch {
 public:
  XWatch() : display_(XOpenDisplay(nullptr)) {
    if (display_ != nullptr) XSetErrorHandler(ignoreErrors);
  }
  ~XWatch() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  XWatch(const XWatch&) = delete;
  XWatch& operator=(const XWatch&) = delete;

  bool connected() const { return display_ != nullptr; }
  Display* display() const { return display_; }
  Window root() const { return DefaultRootWindow(display_); }

  // The viewable window titled TERRANOX, searched through the whole tree (the window manager
  // puts it into a frame of its own); 0 while there is none.
  Window gameWindow() { return find(root()); }

  // The colours of a rectangle of client pixels as 0xRRGGBB, row by row; empty when unreadable.
  std::vector<std::uint32_t> pixels(Window window, int x, int y, int width, int height) {
    std::vector<std::uint32_t> found;
    XImage* image = XGetImage(display_, window, x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr) return found;
    found.reserve(static_cast<std::size_t>(width * height));
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        found.push_back(static_cast<std::uint32_t>(XGetPixel(image, column, row)) & 0xFFFFFF);
      }
    }
    XDestroyImage(image);
    return found;
  }

  bool pixel(Window window, int x, int y, std::uint32_t& colour) {
    const std::vector<std::uint32_t> one = pixels(window, x, y, 1, 1);
    if (one.empty()) return false;
    colour = one[0];
    return true;
  }

 private:
  Window find(Window parent) {
    Window rootReturn = 0, parentReturn = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, parent, &rootReturn, &parentReturn, &children, &count) == 0) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
      if (isGame(children[i])) {
        found = children[i];
      } else {
        found = find(children[i]);
      }
    }
    if (children != nullptr) XFree(children);
    return found;
  }

  bool isGame(Window window) {
    char* name = nullptr;
    if (XFetchName(display_, window, &name) == 0 || name == nullptr) return false;
    const bool titled = std::strcmp(name, "TERRANOX") == 0;
    XFree(name);
    XWindowAttributes attributes;
    return titled && XGetWindowAttributes(display_, window, &attributes) != 0 &&
           attributes.map_state == IsViewable;
  }

  Display* display_;
};

struct StartTimes {
  double mapped = -1, picture = -1, prompt = -1;
};

// One start: the clock runs from just before the fork; the window manager maps its frame (a
// child of the root) when the game shows its window.
StartTimes startOnce(XWatch& x, const char* program, double timeoutMs) {
  XSelectInput(x.display(), x.root(), SubstructureNotifyMask);
  XSync(x.display(), True);
  StartTimes times;
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execl(program, program, static_cast<char*>(nullptr));
    _exit(127);
  }
  Window game = 0;
  while (times.prompt < 0 && msSince(start) < timeoutMs) {
    while (XPending(x.display()) > 0) {
      XEvent event;
      XNextEvent(x.display(), &event);
      if (event.type == MapNotify && !event.xmap.override_redirect && times.mapped < 0) {
        times.mapped = msSince(start);
      }
    }
    if (game == 0 && times.mapped >= 0) game = x.gameWindow();
    std::uint32_t colour = 0;
    if (game != 0 && times.picture < 0 && x.pixel(game, middleX, middleY, colour) && colour != 0) {
      times.picture = msSince(start);
    }
    if (game != 0 && x.pixel(game, messageX, messageY, colour) && colour == promptRed) {
      times.prompt = msSince(start);
    }
    if (times.prompt < 0) pause1ms();
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  XSelectInput(x.display(), x.root(), NoEventMask);
  // Let the window manager drop the frame before the next start.
  while (x.gameWindow() != 0) pause1ms();
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  return times;
}

double median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

int startup(XWatch& x, int runs, const char* program) {
  std::vector<double> mapped, picture, prompt;
  for (int run = 1; run <= runs; ++run) {
    const StartTimes times = startOnce(x, program, 20000);
    std::printf("startup_run %d %.1f %.1f %.1f\n", run, times.mapped, times.picture, times.prompt);
    if (times.mapped < 0 || times.picture < 0 || times.prompt < 0) {
      std::fprintf(stderr, "x_timing: run %d did not reach the information prompt\n", run);
      return 1;
    }
    mapped.push_back(times.mapped);
    picture.push_back(times.picture);
    prompt.push_back(times.prompt);
  }
  std::printf("startup_runs %d\n", runs);
  std::printf("startup_mapped_ms %.1f\n", median(mapped));
  std::printf("startup_picture_ms %.1f\n", median(picture));
  std::printf("startup_prompt_ms %.1f\n", median(prompt));
  std::printf("startup_prompt_max_ms %.1f\n", *std::max_element(prompt.begin(), prompt.end()));
  return 0;
}

template <class Condition>
int waitFor(XWatch& x, double timeoutMs, Condition condition) {
  const Clock::time_point start = Clock::now();
  while (msSince(start) < timeoutMs) {
    const Window game = x.gameWindow();
    if (game != 0 && condition(game)) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return 1;
}

// The boxes stand in turn order; the box of YOU is the one filled with its colour.
bool humanActive(XWatch& x, Window game) {
  for (int slot = 1; slot <= 4; ++slot) {
    const int top = 50 * (slot - 1) + 3;
    const std::vector<std::uint32_t> box = x.pixels(game, 1100, top, 177, 47);
    if (box.empty() || box[0] != humanColour) continue;
    return std::find(box.begin(), box.end(), activeText) != box.end();
  }
  return false;
}

int usage() {
  std::fprintf(stderr,
               "usage: x_timing startup RUNS PROGRAM | wait-pixel X Y RRGGBB MS | wait-turn MS\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  XWatch x;
  if (!x.connected()) {
    std::fprintf(stderr, "x_timing: no X display\n");
    return 2;
  }
  const std::string mode = argv[1];
  if (mode == "startup" && argc == 4) return startup(x, std::atoi(argv[2]), argv[3]);
  if (mode == "wait-pixel" && argc == 6) {
    const int px = std::atoi(argv[2]), py = std::atoi(argv[3]);
    const auto wanted = static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 16));
    return waitFor(x, std::atof(argv[5]), [&](Window game) {
      std::uint32_t colour = 0;
      return x.pixel(game, px, py, colour) && colour == wanted;
    });
  }
  if (mode == "wait-turn" && argc == 3) {
    return waitFor(x, std::atof(argv[2]), [&](Window game) { return humanActive(x, game); });
  }
  return usage();
}
