#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "platform/PixelFill.h"

namespace tilvera {
namespace {

// Every count and alignment around the four-pixel stores: exactly the run is
// painted, nothing before or after it.
TEST(PixelFill, PaintsExactlyTheRunWhateverItsLengthAndAlignment) {
  constexpr Colour before = 0x111111, ink = 0xABCDEF;
  for (std::size_t offset = 0; offset < 4; ++offset) {
    for (std::size_t count = 0; count <= 13; ++count) {
      std::vector<Colour> pixels(offset + count + 5, before);
      fillPixels(pixels.data() + offset, count, ink);
      for (std::size_t i = 0; i < pixels.size(); ++i) {
        const bool inRun = i >= offset && i < offset + count;
        ASSERT_EQ(pixels[i], inRun ? ink : before)
            << "offset " << offset << ", count " << count << ", pixel " << i;
      }
    }
  }
}

}  // namespace
}  // namespace tilvera
