#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Utf8.h"

namespace tilvera {
namespace {

std::u32string decode(std::string_view text) {
  std::u32string out;
  for (std::size_t at = 0; at < text.size();) out += nextCodePoint(text, at);
  return out;
}

TEST(Utf8, DecodesEveryLengthAndReplacesWhatIsMalformed) {
  struct Case {
    std::string bytes;
    std::u32string expected;
  };
  const std::vector<Case> cases = {
      {"TILVERA.", U"TILVERA."},
      {"\xC3\xB1"
       "a",
       U"\u00F1a"},
      {"\xE2\x82\xAC", U"\u20AC"},
      {"\xF0\x9F\x8C\xB3", U"\U0001F333"},
      {"\xC3", U"\uFFFD"},  // cut short
      {"\xE2\x82"
       "A",
       U"\uFFFD\uFFFD"
       "A"},  // cut short before an ASCII letter
      {"\x80"
       "b",
       U"\uFFFD"
       "b"},                                    // a lone continuation byte
      {"\xC0\xAF", U"\uFFFD\uFFFD"},            // an overlong slash
      {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},  // a surrogate
      {"\xF8\x88\x80\x80\x80", std::u32string(5, U'\uFFFD')},
  };
  for (const Case& c : cases) EXPECT_EQ(decode(c.bytes), c.expected) << c.bytes;
}

}  // namespace
}  // namespace tilvera
