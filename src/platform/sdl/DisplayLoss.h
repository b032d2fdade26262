#pragma once

namespace tilvera {

// From now on, a broken connection to the X server (the server ended, or the
// network to it went away) ends the program with the one line
// "tilvera: lost the display" and exit status 1. Xlib's own handler would
// print two lines of protocol detail before it exits.
void endOnLostDisplay();

}  // namespace tilvera
