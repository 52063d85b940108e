// Showing the Screen in the window, shared with the event code that repaints it.
#pragma once

namespace platform::sdl {

// Shows the whole Screen again at once, without pacing: the window manager or
// the X server discarded what the window showed.
void repaint();

}  // namespace platform::sdl
