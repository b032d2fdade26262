#include "platform/sdl/X11WindowName.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "platform/Utf8.h"

namespace tilvera {

std::string latin1Of(std::string_view utf8) {
  std::string latin1;
  for (std::size_t at = 0; at < utf8.size();) {
    const char32_t c = nextCodePoint(utf8, at);
    latin1 += c <= 0xFF ? static_cast<char>(static_cast<unsigned char>(c)) : '?';
  }
  return latin1;
}

void nameX11WindowInLatin1(SDL_Window* window, std::string_view utf8Title) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
  const std::string name = latin1Of(utf8Title);
  XChangeProperty(info.info.x11.display, info.info.x11.window, XA_WM_NAME, XA_STRING, 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(name.data()),
                  static_cast<int>(name.size()));
}

}  // namespace tilvera
