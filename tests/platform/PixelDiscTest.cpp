#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "PixelProbe.h"
#include "platform/PixelDisc.h"

namespace tilvera {
namespace {

constexpr Colour background = 0x010203, outline = 0x0000FF, fill = 0xFFFFFF;
constexpr int size = 21;

struct DiscCase {
  std::string name;
  double cx, cy, r;
};

void PrintTo(const DiscCase& c, std::ostream* out) {
  *out << "centre " << c.cx << "," << c.cy << " radius " << c.r;
}

bool inDisc(const DiscCase& c, int x, int y) {
  return (x - c.cx) * (x - c.cx) + (y - c.cy) * (y - c.cy) <= c.r * c.r;
}

// What a pixel should be, judged by its centre's distance alone, with the
// neighbours taken from the plane beyond the image.
Colour expectedColour(const DiscCase& c, int x, int y) {
  if (!inDisc(c, x, y)) return background;
  const bool boundary =
      !inDisc(c, x - 1, y) || !inDisc(c, x + 1, y) || !inDisc(c, x, y - 1) || !inDisc(c, x, y + 1);
  return boundary ? outline : fill;
}

class DiscCases : public ::testing::TestWithParam<DiscCase> {};

TEST_P(DiscCases, EveryPixelIsOutlineFillOrBackgroundByItsDistance) {
  const DiscCase& c = GetParam();
  Image image(size, size, background);
  paintDisc(image, c.cx, c.cy, c.r, outline, fill);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      ASSERT_EQ(image.pixel(x, y), expectedColour(c, x, y)) << "pixel " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(
    Discs, DiscCases,
    ::testing::Values(
        DiscCase{"centred", 10, 10, 6}, DiscCase{"exact_radius", 10, 10, 5},
        DiscCase{"between_pixels", 9.3, 8.6, 5.7}, DiscCase{"over_top_left", 1.2, 2.4, 6.5},
        DiscCase{"over_bottom_right", 19.5, 19.25, 7}, DiscCase{"centre_off_the_left", -3, 10, 6.5},
        DiscCase{"centre_off_below", 8, 24, 5.2}, DiscCase{"covers_the_image", 10, 10, 40},
        DiscCase{"boundary_crosses_the_corner", 24, 24, 10.5}, DiscCase{"one_pixel", 10, 10, 0.4},
        DiscCase{"between_centres", 10.5, 10.5, 0.4}, DiscCase{"zero_radius", 7, 3, 0},
        DiscCase{"far_away", 500, -300, 100}),
    [](const auto& info) { return info.param.name; });

TEST(PixelDisc, IsAsWideAsItIsTall) {
  for (double r : {3.0, 7.4, 9.5, 12.9}) {
    Image image(31, 31);
    paintDisc(image, 15, 15, r, outline, fill);
    int left = 31, right = -1, top = 31, bottom = -1;
    for (const auto& [x, y] : testing::paintedPixels(image)) {
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
    EXPECT_EQ(right - left, bottom - top) << "radius " << r;
    EXPECT_EQ(right - left, 2 * static_cast<int>(std::floor(r))) << "radius " << r;
  }
}

TEST(PixelDisc, OddInputsDrawNothingOrEverything) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (const DiscCase& c :
       {DiscCase{"nan_centre", nan, 5, 3}, DiscCase{"nan_radius", 5, 5, nan},
        DiscCase{"negative", 5, 5, -3}, DiscCase{"infinite_centre", inf, 5, 3}}) {
    Image image(size, size, background);
    paintDisc(image, c.cx, c.cy, c.r, outline, fill);
    EXPECT_TRUE(testing::paintedPixels(image, background).empty()) << c.name;
  }
  for (double huge : {1e30, 1e200, inf}) {
    Image image(size, size, background);
    paintDisc(image, 4, 4, huge, outline, fill);
    EXPECT_EQ(testing::paintedPixels(image, fill).size(), 0u) << "radius " << huge;
  }
}

}  // namespace
}  // namespace tilvera
