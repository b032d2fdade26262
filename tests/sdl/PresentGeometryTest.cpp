#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/Image.h"
#include "platform/sdl/PresentGeometry.h"

namespace tilvera {

bool operator==(const PixelRectangle& a, const PixelRectangle& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::ostream& operator<<(std::ostream& out, const PixelRectangle& r) {
  return out << "{" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << "}";
}

namespace {

constexpr Extent image{imageWidth, imageHeight};

struct Case {
  std::string what;
  Extent window;
  Extent drawable;
  PixelRectangle expected;
};

TEST(PresentGeometry, TheImageSitsAtTheTopLeftScaledByTheDisplaysDensityAlone) {
  const std::vector<Case> cases = {
      {"scale 1, window of the image's size", {637, 439}, {637, 439}, {0, 0, 637, 439}},
      {"scale 2", {637, 439}, {1274, 878}, {0, 0, 1274, 878}},
      // 955.5 and 658.5: halves go to the even side, one up and one down.
      {"scale 1.5", {800, 600}, {1200, 900}, {0, 0, 956, 658}},
      // 796.25 and 548.75: to the nearest, neither truncated nor both up.
      {"scale 1.25", {800, 600}, {1000, 750}, {0, 0, 796, 549}},
      {"window larger than the image, scale 1", {800, 600}, {800, 600}, {0, 0, 637, 439}},
      {"window larger than the image, scale 2", {1000, 700}, {2000, 1400}, {0, 0, 1274, 878}},
      {"window smaller than the image is cut off, not shrunk",
       {300, 200},
       {300, 200},
       {0, 0, 637, 439}},
      {"window smaller than the image, scale 2", {300, 200}, {600, 400}, {0, 0, 1274, 878}},
      // A window system that rounds the drawable per axis: the image still
      // covers it exactly, no seam of background at the right or bottom.
      {"drawable rounded per axis at 1.25", {637, 439}, {796, 549}, {0, 0, 796, 549}},
      {"minimized window reporting no size", {0, 0}, {0, 0}, {0, 0, 637, 439}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(imagePlacement(image, c.window, c.drawable), c.expected) << c.what;
  }
}

// Every scale a desktop offers, in window sizes from well below the image's to
// twice it: the image's size follows the density alone, never the window.
TEST(PresentGeometry, ResizingTheWindowNeverStretchesTheImage) {
  struct Scale {
    int quarters;  // the density in quarters: 5 is 1.25
    Extent shown;
  };
  for (const Scale& scale :
       {Scale{4, {637, 439}}, Scale{5, {796, 549}}, Scale{6, {956, 658}}, Scale{7, {1115, 768}},
        Scale{8, {1274, 878}}, Scale{12, {1911, 1317}}}) {
    for (int width = 100; width <= 2 * image.width; width += 40) {
      for (int height = 100; height <= 2 * image.height; height += 40) {
        const Extent drawable{width * scale.quarters / 4, height * scale.quarters / 4};
        EXPECT_EQ(imagePlacement(image, {width, height}, drawable),
                  (PixelRectangle{0, 0, scale.shown.width, scale.shown.height}))
            << "scale " << scale.quarters / 4.0 << ", window " << width << " x " << height;
      }
    }
  }
}

}  // namespace
}  // namespace tilvera
