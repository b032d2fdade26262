#pragma once

struct SDL_Window;

namespace tilvera {

// From now on, a broken connection to the X server (the server ended, or the
// network to it went away) ends the program with the one line
// "tilvera: lost the display" and exit status 1. Xlib's own handler would
// print two lines of protocol detail before it exits.
void endOnLostDisplay();

// Under Wayland, SDL turns a broken connection to the compositor into a quit
// event, the same event a user's close request brings. True when the window's
// connection is the one that broke.
bool waylandConnectionBroken(SDL_Window* window);

// The one line and exit status 1, at once: nothing can be shown or closed any
// more, and destructors would only talk to a display that is gone.
[[noreturn]] void endForLostDisplay();

}  // namespace tilvera
