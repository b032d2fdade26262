// A window that only waits for events, as the program does while paused: the
// Wayland tests cannot press a key inside a compositor, so they pause this way.
// Prints "waiting" once the window is up; exits 0 when asked to close.

#include <cstdio>
#include <string>

#include "platform/Image.h"
#include "platform/sdl/SdlWindow.h"

int main() {
  tilvera::Image image(tilvera::imageWidth, tilvera::imageHeight);
  std::string error;
  const auto window = tilvera::SdlWindow::open(image, &error);
  if (!window) {
    std::fprintf(stderr, "waiting-window: %s\n", error.c_str());
    return 3;
  }
  std::puts("waiting");
  std::fflush(stdout);
  while (!window->closeRequested()) window->waitForEvents();
  return 0;
}
