#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>

#include "platform/sdl/KeyTranslation.h"

namespace tilvera {
namespace {

SDL_Event textInput(const char* utf8) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  std::strncpy(event.text.text, utf8, sizeof event.text.text - 1);
  return event;
}

SDL_Event key(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
  SDL_Event event{};
  event.type = type;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat;
  event.key.keysym.sym = sym;
  event.key.keysym.mod = mod;
  return event;
}

SDL_Event keyDown(SDL_Keycode sym, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
  return key(SDL_KEYDOWN, sym, mod, repeat);
}

struct Case {
  std::string what;
  SDL_Event event;
  std::optional<char32_t> yields;
};

// "Control+Q pauses, it does not quit" -> "Control_Q_pauses_it_does_not_quit"
std::string testName(const std::string& what) {
  std::string name;
  for (char c : what) {
    const bool letterOrDigit = std::isalnum(static_cast<unsigned char>(c)) != 0;
    if (letterOrDigit)
      name += c;
    else if (!name.empty() && name.back() != '_')
      name += '_';
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return name;
}

std::ostream& operator<<(std::ostream& out, const Case& c) {
  return out << c.what;
}

class KeyTranslation : public ::testing::TestWithParam<Case> {};

TEST_P(KeyTranslation, YieldsTheKeysCharacterOrNothing) {
  EXPECT_EQ(characterFromEvent(GetParam().event), GetParam().yields);
}

// What SDL on X11 sends for one press: a printable key gives a key-down and a
// text event, so only one of them may count; Enter, Escape, Backspace, Tab and
// Control with a letter give a key-down alone.
INSTANTIATE_TEST_SUITE_P(
    Events, KeyTranslation,
    ::testing::Values(
        // Printable characters come from text input.
        Case{"letter as text", textInput("q"), U'q'}, Case{"capital as text", textInput("Q"), U'Q'},
        Case{"space as text", textInput(" "), U' '},
        Case{"n with tilde is one character", textInput("\xC3\xB1"), U'\u00F1'},
        Case{"euro sign, three bytes", textInput("\xE2\x82\xAC"), U'\u20AC'},
        Case{"outside the basic plane, four bytes", textInput("\xF0\x9F\x8C\xB3"), U'\U0001F333'},
        Case{"several characters at once: the first", textInput("ab"), U'a'},
        Case{"empty text", textInput(""), std::nullopt},
        // A press whose text arrives garbled is still a press.
        Case{"cut multi-byte sequence", textInput("\xC3"), U'\uFFFD'},
        Case{"control character as text is left to its key-down", textInput("\x11"), std::nullopt},
        // ... and never from their key-downs as well.
        Case{"key-down of a letter", keyDown(SDLK_q), std::nullopt},
        Case{"key-down of a shifted letter", keyDown(SDLK_q, KMOD_LSHIFT), std::nullopt},
        Case{"key-down of a digit", keyDown(SDLK_1), std::nullopt},
        Case{"key-down of the space bar", keyDown(SDLK_SPACE), std::nullopt},
        // Keys whose characters come only as key-downs.
        Case{"Enter", keyDown(SDLK_RETURN), U'\r'},
        Case{"Enter on the keypad", keyDown(SDLK_KP_ENTER), U'\r'},
        Case{"Escape", keyDown(SDLK_ESCAPE), char32_t{27}},
        Case{"Backspace", keyDown(SDLK_BACKSPACE), char32_t{8}},
        Case{"Tab", keyDown(SDLK_TAB), U'\t'},
        Case{"Control+Q pauses, it does not quit", keyDown(SDLK_q, KMOD_LCTRL), char32_t{17}},
        Case{"right Control+A", keyDown(SDLK_a, KMOD_RCTRL), char32_t{1}},
        Case{"Control+Z", keyDown(SDLK_z, KMOD_LCTRL), char32_t{26}},
        Case{"Control+Shift+Q", keyDown(SDLK_q, KMOD_LCTRL | KMOD_LSHIFT), char32_t{17}},
        Case{"Control+Q with Caps Lock", keyDown(SDLK_q, KMOD_LCTRL | KMOD_CAPS), char32_t{17}},
        Case{"a held key repeats", keyDown(SDLK_RETURN, KMOD_NONE, 1), U'\r'},
        Case{"a held Control+Q repeats", keyDown(SDLK_q, KMOD_LCTRL, 1), char32_t{17}},
        // Keys that yield no character.
        Case{"Control+digit", keyDown(SDLK_1, KMOD_LCTRL), std::nullopt},
        Case{"Control+Alt+letter", keyDown(SDLK_q, KMOD_LCTRL | KMOD_LALT), std::nullopt},
        Case{"arrow", keyDown(SDLK_LEFT), std::nullopt},
        Case{"function key", keyDown(SDLK_F1), std::nullopt},
        Case{"Delete", keyDown(SDLK_DELETE), std::nullopt},
        Case{"Control alone", keyDown(SDLK_LCTRL, KMOD_LCTRL), std::nullopt},
        Case{"Shift alone", keyDown(SDLK_LSHIFT, KMOD_LSHIFT), std::nullopt},
        Case{"release of Enter", key(SDL_KEYUP, SDLK_RETURN), std::nullopt},
        Case{"release of Control+Q", key(SDL_KEYUP, SDLK_q, KMOD_LCTRL), std::nullopt}),
    [](const ::testing::TestParamInfo<Case>& info) { return testName(info.param.what); });

TEST(KeyTranslationOfOtherEvents, QuitAndWindowEventsYieldNothing) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_Event exposed{};
  exposed.type = SDL_WINDOWEVENT;
  exposed.window.event = SDL_WINDOWEVENT_EXPOSED;
  EXPECT_EQ(characterFromEvent(quit), std::nullopt);
  EXPECT_EQ(characterFromEvent(exposed), std::nullopt);
}

}  // namespace
}  // namespace tilvera
