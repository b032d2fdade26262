#pragma once

#include <SDL.h>

#include <optional>

namespace tilvera {

// The character one window event yields as a key press, if any. Printable
// characters come from text input only (the keyboard layout and compose keys
// have already been applied there); the keys whose characters SDL does not
// report as text (Enter, Escape, Backspace, Tab, Control with a letter) come
// from their key-down events. Every other event, key releases included, yields
// nothing, so one key press never counts twice.
std::optional<char32_t> characterFromEvent(const SDL_Event& event);

}  // namespace tilvera
