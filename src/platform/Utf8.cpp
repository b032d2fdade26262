#include "platform/Utf8.h"

namespace tilvera {

namespace {

constexpr char32_t replacement = 0xFFFD;

bool continuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

}  // namespace

char32_t nextCodePoint(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  int length = 0;
  char32_t code = 0, smallest = 0;
  if (lead < 0x80) {
    ++at;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, smallest = 0x10000;
  } else {
    ++at;
    return replacement;
  }
  if (at + length > text.size()) {
    ++at;
    return replacement;
  }
  for (int n = 1; n < length; ++n) {
    const auto byte = static_cast<unsigned char>(text[at + n]);
    if (!continuation(byte)) {
      ++at;
      return replacement;
    }
    code = (code << 6) | (byte & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode are not characters.
  if (code < smallest || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
    ++at;
    return replacement;
  }
  at += length;
  return code;
}

}  // namespace tilvera
