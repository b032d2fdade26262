#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "PixelProbe.h"
#include "ReferenceLine.h"
#include "platform/PixelLine.h"

namespace tilvera {
namespace {

using testing::paintedInWindow;
using testing::paintedPixels;
using testing::PixelSet;

constexpr Colour ink = 0x123456;

PixelSet lineOn(int width, int height, double x1, double y1, double x2, double y2) {
  Image image(width, height);
  paintLine(image, x1, y1, x2, y2, ink);
  return paintedPixels(image);
}

// An unclipped reference: walks every step of the line, however far off the
// image, and leaves the clipping to Image::setPixel.
void referenceLine(Image& image, long x1, long y1, long x2, long y2) {
  testing::walkReferenceLine(x1, y1, x2, y2, [&](long x, long y) {
    if (std::labs(x) < 100000 && std::labs(y) < 100000)
      image.setPixel(static_cast<int>(x), static_cast<int>(y), ink);
  });
}

struct LineCase {
  std::string name;
  double x1, y1, x2, y2;
  PixelSet expected;
};

void PrintTo(const LineCase& c, std::ostream* out) {
  *out << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
}

class LineExamples : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineExamples, PaintsExactlyTheBresenhamPixels) {
  const LineCase& c = GetParam();
  EXPECT_EQ(lineOn(8, 7, c.x1, c.y1, c.x2, c.y2), c.expected);
  EXPECT_EQ(lineOn(8, 7, c.x2, c.y2, c.x1, c.y1), c.expected) << "reversed";
}

INSTANTIATE_TEST_SUITE_P(
    Bresenham, LineExamples,
    ::testing::Values(
        LineCase{"single_point", 3, 4, 3, 4, {{3, 4}}},
        LineCase{"horizontal", 1, 2, 6, 2, {{1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}}},
        LineCase{"vertical", 2, 1, 2, 5, {{2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}}},
        // The halfway step at x 2 lies exactly between rows 0 and 1: it moves on.
        LineCase{"shallow_with_tie", 0, 0, 4, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}}},
        LineCase{"steep", 0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        LineCase{"diagonal_up", 0, 5, 5, 0, {{0, 5}, {1, 4}, {2, 3}, {3, 2}, {4, 1}, {5, 0}}},
        LineCase{
            "shallow_rising", 0, 3, 6, 0, {{0, 3}, {1, 2}, {2, 2}, {3, 1}, {4, 1}, {5, 0}, {6, 0}}},
        // Halfway down, x 1.5 is a tie too, and moves on to 1.
        LineCase{"steep_leftwards", 3, 0, 1, 4, {{3, 0}, {2, 1}, {2, 2}, {1, 3}, {1, 4}}},
        // End points round to the nearest pixel, halves to the even one: (0, 1) to (4, 1).
        LineCase{"rounded_ends", 0.4, 0.6, 4.5, 1.49, {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        LineCase{"halves_to_even", 1.5, 2.5, 2.5, 2.5, {{2, 2}}}),
    [](const auto& info) { return info.param.name; });

TEST(PixelLine, LinesInsideAreUnbrokenAndStayWithinHalfAPixelOfTheIdealLine) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(0, 39);
  for (int n = 0; n < 500; ++n) {
    const int x1 = coordinate(random), y1 = coordinate(random);
    const int x2 = coordinate(random), y2 = coordinate(random);
    const PixelSet pixels = lineOn(40, 40, x1, y1, x2, y2);
    SCOPED_TRACE(::testing::Message() << x1 << "," << y1 << " to " << x2 << "," << y2);
    EXPECT_TRUE(pixels.count({x1, y1}) && pixels.count({x2, y2})) << "end pixels";
    EXPECT_EQ(pixels, lineOn(40, 40, x2, y2, x1, y1)) << "reversed";
    const bool xMajor = std::abs(x2 - x1) >= std::abs(y2 - y1);
    const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(steps + 1)) << "one pixel a step";
    for (const auto& [x, y] : pixels) {
      // The ideal line at this pixel's major coordinate.
      const double ideal = xMajor ? (x1 == x2 ? y1 : y1 + double(x - x1) * (y2 - y1) / (x2 - x1))
                                  : x1 + double(y - y1) * (x2 - x1) / (y2 - y1);
      EXPECT_LE(std::fabs((xMajor ? y : x) - ideal), 0.5) << "pixel " << x << "," << y;
    }
  }
}

// The image is a window on an endless plane: what shows of a line must be what
// a larger image shows through the same window. Offsets are even so that end
// points on a half round the same way in both.
TEST(PixelLine, ClippedPartMatchesTheSameLineOnALargerImage) {
  constexpr int width = 24, height = 18, left = 48, top = 36;
  std::mt19937 random(11);
  std::uniform_int_distribution<int> quarterX(-4 * left, 4 * (width + left));
  std::uniform_int_distribution<int> quarterY(-4 * top, 4 * (height + top));
  int visible = 0;
  for (int n = 0; n < 3000; ++n) {
    const double x1 = quarterX(random) / 4.0, y1 = quarterY(random) / 4.0;
    const double x2 = quarterX(random) / 4.0, y2 = quarterY(random) / 4.0;
    Image small(width, height), big(width + 2 * left, height + 2 * top);
    paintLine(small, x1, y1, x2, y2, ink);
    paintLine(big, x1 + left, y1 + top, x2 + left, y2 + top, ink);
    const PixelSet shown = paintedPixels(small);
    ASSERT_EQ(shown, paintedInWindow(big, left, top, width, height))
        << x1 << "," << y1 << " to " << x2 << "," << y2;
    visible += !shown.empty();
  }
  EXPECT_GT(visible, 300);  // the cases exercise clipping, not only misses
}

TEST(PixelLine, LinesFromFarAwayMatchAnUnclippedWalk) {
  constexpr int width = 24, height = 18;
  std::mt19937 random(5);
  std::uniform_int_distribution<long> far(-40000, 40000);
  std::uniform_int_distribution<long> insideX(0, width - 1), insideY(0, height - 1);
  std::uniform_int_distribution<int> beyond(0, 3);
  for (int n = 0; n < 400; ++n) {
    // From a far point through a point on the image, ending before, on or after it.
    const long x1 = far(random), y1 = far(random);
    const long tx = insideX(random), ty = insideY(random);
    const int k = beyond(random);
    const long x2 = tx + (tx - x1) * k / 2, y2 = ty + (ty - y1) * k / 2;
    Image clipped(width, height), reference(width, height);
    paintLine(clipped, x1, y1, x2, y2, ink);
    referenceLine(reference, x1, y1, x2, y2);
    ASSERT_EQ(paintedPixels(clipped), paintedPixels(reference))
        << x1 << "," << y1 << " to " << x2 << "," << y2;
  }
}

TEST(PixelLine, HugeEndPointsStillDrawTheVisiblePart) {
  const double huge = 1e30;
  PixelSet row;
  for (int x = 0; x < 8; ++x) row.insert({x, 3});
  EXPECT_EQ(lineOn(8, 7, -huge, 3, huge, 3), row);
  EXPECT_EQ(lineOn(8, 7, std::numeric_limits<double>::max(), 3, -huge, 3), row);
  PixelSet column;
  for (int y = 0; y < 7; ++y) column.insert({5, y});
  EXPECT_EQ(lineOn(8, 7, 5, huge, 5, -huge), column);

  // A diagonal through the origin from far beyond both corners.
  const PixelSet diagonal = lineOn(8, 7, -huge, -huge, huge, huge);
  PixelSet expected;
  for (int i = 0; i < 7; ++i) expected.insert({i, i});
  EXPECT_EQ(diagonal, expected);
}

// Lines through a pixel T with a small direction D, their ends T + k D at
// powers of two k far beyond a few million pixels: every value is exact, so
// the line drawn must follow the line through T with slope D. Shortened ends
// land between pixels, and rounding them shifts the line by up to half a pixel
// in each coordinate, as for any line between real end points: a pixel may lie
// up to 0.5 (Bresenham) + 0.5 (1 + |slope|) off the ideal line.
TEST(PixelLine, EndPointsFarBeyondTheImageStayOnTheirLine) {
  constexpr int width = 40, height = 30;
  std::mt19937 random(3);
  std::uniform_int_distribution<int> direction(-7, 7), insideX(0, width - 1),
      insideY(0, height - 1), power(23, 45);
  for (int n = 0; n < 300; ++n) {
    const int dx = direction(random), dy = direction(random);
    if (dx == 0 && dy == 0) continue;
    const double tx = insideX(random), ty = insideY(random);
    const double k1 = std::ldexp(1.0, power(random)), k2 = std::ldexp(1.0, power(random));
    Image image(width, height);
    paintLine(image, tx + k1 * dx, ty + k1 * dy, tx - k2 * dx, ty - k2 * dy, ink);
    const PixelSet pixels = paintedPixels(image);
    SCOPED_TRACE(::testing::Message()
                 << "through " << tx << "," << ty << " along " << dx << "," << dy);
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const double slope = xMajor ? double(dy) / dx : double(dx) / dy;
    const double tolerance = 0.5 + 0.5 * (1 + std::fabs(slope));
    std::vector<int> perMajor(xMajor ? width : height, 0);
    for (const auto& [x, y] : pixels) {
      const double ideal = xMajor ? ty + (x - tx) * dy / dx : tx + (y - ty) * dx / dy;
      EXPECT_LE(std::fabs((xMajor ? y : x) - ideal), tolerance) << x << "," << y;
      ++perMajor[xMajor ? x : y];
    }
    for (int m = 0; m < static_cast<int>(perMajor.size()); ++m) {
      const double ideal = xMajor ? ty + (m - tx) * dy / dx : tx + (m - ty) * dx / dy;
      const int minorSize = xMajor ? height : width;
      if (ideal > 1.6 && ideal < minorSize - 2.6) {
        EXPECT_EQ(perMajor[m], 1) << "at " << m;
      } else {
        EXPECT_LE(perMajor[m], 1) << "at " << m;
      }
    }
  }
}

TEST(PixelLine, NonFiniteEndPointsDrawNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::vector<double>> cases = {
      {nan, 1, 4, 4},    {1, nan, 4, 4}, {1, 1, nan, 4},      {1, 1, 4, nan},
      {-inf, 3, inf, 3}, {2, 2, 2, inf}, {nan, nan, nan, nan}};
  for (const auto& c : cases)
    EXPECT_TRUE(lineOn(8, 7, c[0], c[1], c[2], c[3]).empty())
        << c[0] << "," << c[1] << " to " << c[2] << "," << c[3];
}

TEST(PixelLine, LinesOnlyAlongOrBeyondTheBorderPaintOnlyWhatIsOnTheImage) {
  PixelSet bottomRow;
  for (int x = 0; x < 8; ++x) bottomRow.insert({x, 6});
  EXPECT_EQ(lineOn(8, 7, -3, 6, 10, 6), bottomRow);
  EXPECT_TRUE(lineOn(8, 7, -3, 7, 10, 7).empty());  // one row below the image
  EXPECT_TRUE(lineOn(8, 7, -1, -1, -9, 5).empty());
  EXPECT_TRUE(lineOn(8, 7, 9, -20, 30, 3).empty());
  EXPECT_EQ(lineOn(8, 7, -0.5, -0.5, -0.5, -0.5), (PixelSet{{0, 0}}));  // -0.5 rounds to 0
  EXPECT_TRUE(lineOn(0, 0, 0, 0, 3, 3).empty());
}

}  // namespace
}  // namespace tilvera
