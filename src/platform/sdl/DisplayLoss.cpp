#include "platform/sdl/DisplayLoss.h"

#include <X11/Xlib.h>
#include <unistd.h>

namespace tilvera {

namespace {

// Called inside whichever Xlib call found the connection gone; Xlib allows no
// return from here. Nothing can be shown or closed any more, so the process
// ends at once, without running destructors that would talk to the server.
int lostDisplay(Display*) {
  static constexpr char message[] = "tilvera: lost the display\n";
  [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
  ::_exit(1);
}

}  // namespace

// SDL loads libX11 at run time; it gets the copy this program links, so the
// handler set here is the one its connection uses.
void endOnLostDisplay() {
  XSetIOErrorHandler(lostDisplay);
}

}  // namespace tilvera
