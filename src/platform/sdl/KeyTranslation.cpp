#include "platform/sdl/KeyTranslation.h"

#include <cstddef>
#include <string_view>

#include "platform/Utf8.h"

namespace tilvera {

namespace {

bool isControlCharacter(char32_t c) {
  return c < 0x20 || c == 0x7F;
}

std::optional<char32_t> characterFromText(const SDL_TextInputEvent& text) {
  const std::string_view utf8(text.text);
  if (utf8.empty()) return std::nullopt;
  std::size_t at = 0;
  const char32_t c = nextCodePoint(utf8, at);  // an input method may commit several at once
  // Control characters are taken from key-down events; a platform that also
  // sent them as text would otherwise count the same press twice.
  if (isControlCharacter(c)) return std::nullopt;
  return c;
}

std::optional<char32_t> characterFromKeyDown(const SDL_Keysym& key) {
  switch (key.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return U'\r';
    case SDLK_ESCAPE:
      return 27;
    case SDLK_BACKSPACE:
      return 8;
    case SDLK_TAB:
      return U'\t';
    default:
      break;
  }
  // Control with a letter of the layout gives that letter's control character;
  // with Alt as well it is AltGr on some keyboards and not a control key.
  const bool control = (key.mod & KMOD_CTRL) != 0;
  const bool otherModifier = (key.mod & (KMOD_ALT | KMOD_GUI | KMOD_MODE)) != 0;
  if (control && !otherModifier && key.sym >= SDLK_a && key.sym <= SDLK_z) {
    return static_cast<char32_t>(key.sym - SDLK_a + 1);
  }
  return std::nullopt;
}

}  // namespace

std::optional<char32_t> characterFromEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_TEXTINPUT:
      return characterFromText(event.text);
    case SDL_KEYDOWN:  // repeated key-downs of a held key count as presses too
      return characterFromKeyDown(event.key.keysym);
    default:
      return std::nullopt;
  }
}

}  // namespace tilvera
