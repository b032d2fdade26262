#pragma once

#include <cstddef>
#include <string_view>

namespace tilvera {

// The code point starting at text[at], moving `at` past it. A malformed or cut
// sequence yields U+FFFD and moves on by one byte, so every input terminates.
char32_t nextCodePoint(std::string_view text, std::size_t& at);

}  // namespace tilvera
