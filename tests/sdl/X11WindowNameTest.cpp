#include <gtest/gtest.h>

#include <string>

#include "platform/sdl/X11WindowName.h"

namespace tilvera {
namespace {

TEST(X11WindowName, Latin1KeepsWhatItCanAndMarksTheRest) {
  struct Case {
    std::string utf8, latin1;
  };
  const Case cases[] = {
      {"TILVERA. Pulse Q para acabar.", "TILVERA. Pulse Q para acabar."},
      {"(\xC3\xA1rboles)", "(\xE1rboles)"},  // á, two bytes in, one out
      {"\xC3\xBF \xC2\xA0", "\xFF \xA0"},    // the top and the bottom of Latin-1's upper half
      {"\xC4\x80\xE2\x82\xAC", "??"},        // Ā and €: beyond Latin-1
      {"a\xC3", "a?"},                       // a cut sequence
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(latin1Of(c.utf8), c.latin1) << c.utf8;
}

}  // namespace
}  // namespace tilvera
