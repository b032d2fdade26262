#pragma once

#include <string>
#include <string_view>

struct SDL_Window;

namespace tilvera {

// The title in ISO 8859-1, the encoding of X11's old WM_NAME property; a
// character beyond it becomes '?'.
std::string latin1Of(std::string_view utf8);

// SDL writes the title into WM_NAME as UTF-8 bytes while declaring them
// Latin-1, so window managers that read only WM_NAME show "Ã¡rboles" for
// "árboles". Rewrites WM_NAME in Latin-1 on an X11 window; elsewhere does
// nothing. _NET_WM_NAME, which newer window managers read, is right as it is.
void nameX11WindowInLatin1(SDL_Window* window, std::string_view utf8Title);

}  // namespace tilvera
