#include "platform/sdl/DisplayLoss.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <unistd.h>
#include <wayland-client.h>

namespace tilvera {

namespace {

// Called inside whichever Xlib call found the connection gone; Xlib allows no
// return from here.
int lostDisplay(Display*) {
  endForLostDisplay();
}

}  // namespace

// SDL loads libX11 at run time; it gets the copy this program links, so the
// handler set here is the one its connection uses. The same holds for
// libwayland-client below.
void endOnLostDisplay() {
  XSetIOErrorHandler(lostDisplay);
}

bool waylandConnectionBroken(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) ||
      info.subsystem != SDL_SYSWM_WAYLAND)
    return false;
  return wl_display_get_error(info.info.wl.display) != 0;
}

void endForLostDisplay() {
  static constexpr char message[] = "tilvera: lost the display\n";
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
  ::_exit(1);
}

}  // namespace tilvera
