#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "PixelProbe.h"
#include "platform/ImageSurface.h"
#include "platform/Units.h"
#include "platform/WindowColours.h"

namespace tilvera {
namespace {

using testing::paintedPixels;
using testing::PixelSet;

constexpr Colour red = rgb(255, 0, 0), purple = rgb(120, 0, 160), white = rgb(255, 255, 255);

struct Bounds {
  int left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

Bounds boundsOf(const PixelSet& pixels) {
  Bounds b;
  for (const auto& [x, y] : pixels) {
    b.left = std::min(b.left, x), b.right = std::max(b.right, x);
    b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
  }
  return b;
}

class SurfaceWithoutText : public ::testing::Test {
 protected:
  Image image{imageWidth, imageHeight};
  ImageSurface surface{image, nullptr};
  void SetUp() override { surface.clearSurface(); }
};

TEST_F(SurfaceWithoutText, ClearPaintsEverythingInTheBackgroundAndResetsTheTextPosition) {
  surface.drawLine(0, 0, 639, 479, red);
  surface.plotPoint(30, 40, red);
  surface.clearSurface();
  EXPECT_TRUE(paintedPixels(image, backgroundColor).empty());
  EXPECT_EQ(surface.textPosition().x, 0);
  EXPECT_EQ(surface.textPosition().y, 0);
}

TEST_F(SurfaceWithoutText, APointPaintsOnePixelAndMovesTheTextPosition) {
  // 10 units are 9.95 pixels across and 9.14 down.
  surface.plotPoint(10, 10, red);
  EXPECT_EQ(paintedPixels(image, backgroundColor), (PixelSet{{10, 9}}));
  EXPECT_EQ(image.pixel(10, 9), red);
  EXPECT_EQ(surface.textPosition().x, 10);
  EXPECT_EQ(surface.textPosition().y, 10);

  surface.plotPoint(-5, 700, red);  // off the surface: nothing shows, the position still moves
  surface.plotPoint(std::numeric_limits<float>::quiet_NaN(), 3, red);
  EXPECT_EQ(paintedPixels(image, backgroundColor).size(), 1u);
  surface.plotPoint(-5, 700, red);
  EXPECT_EQ(surface.textPosition().x, -5);
  EXPECT_EQ(surface.textPosition().y, 700);
}

// The surface's edges land on the image's last pixels: a line along any edge
// of the 640 x 480 surface paints a whole row or column of the image.
TEST_F(SurfaceWithoutText, LinesAlongTheSurfaceEdgesCoverTheImageEdges) {
  surface.drawLine(0, 0, 640, 0, red);
  surface.drawLine(0, 479, 639, 479, red);
  surface.drawLine(0, 0, 0, 479, red);
  surface.drawLine(639, -10, 639, 490, red);
  for (int x = 0; x < imageWidth; ++x) {
    ASSERT_EQ(image.pixel(x, 0), red) << x;
    ASSERT_EQ(image.pixel(x, imageHeight - 1), red) << x;
  }
  for (int y = 0; y < imageHeight; ++y) {
    ASSERT_EQ(image.pixel(0, y), red) << y;
    ASSERT_EQ(image.pixel(imageWidth - 1, y), red) << y;
  }
  EXPECT_EQ(paintedPixels(image, backgroundColor).size(),
            static_cast<std::size_t>(2 * imageWidth + 2 * imageHeight - 4));
}

TEST_F(SurfaceWithoutText, LinesFromTheEndsOfTheSixteenBitRangeShowTheirVisiblePart) {
  surface.drawLine(-32767, 240, 32767, 240, red);     // row 219.33: pixel row 219
  surface.drawLine(320, 32767, 320, -32768, purple);  // column 318.33: pixel column 318
  for (int x = 0; x < imageWidth; ++x) ASSERT_EQ(image.pixel(x, 219), x == 318 ? purple : red) << x;
  for (int y = 0; y < imageHeight; ++y) ASSERT_EQ(image.pixel(318, y), purple) << y;
  EXPECT_EQ(paintedPixels(image, backgroundColor).size(),
            static_cast<std::size_t>(imageWidth + imageHeight - 1));

  surface.clearSurface();
  surface.drawLine(-32767, -32767, 32767, 32767, red);
  const PixelSet diagonal = paintedPixels(image, backgroundColor);
  // Through the origin with the slope of the unit size, one pixel per column
  // until it leaves through the bottom edge.
  const double slope = pixelsPerUnitY / pixelsPerUnitX;
  const Bounds line = boundsOf(diagonal);
  EXPECT_EQ(line.left, 0);
  EXPECT_EQ(line.bottom, imageHeight - 1);
  EXPECT_EQ(diagonal.size(), static_cast<std::size_t>(line.right + 1));
  EXPECT_NEAR(line.right, (imageHeight - 1) / slope, 1);
  for (const auto& [x, y] : diagonal) EXPECT_LE(std::fabs(y - x * slope), 1.0) << x << "," << y;
}

TEST_F(SurfaceWithoutText, TheCanvasDiscIsRoundOnTheScreen) {
  surface.drawCircle(319.5f, 234.5f, 213.395f, white);
  const Bounds disc = boundsOf(paintedPixels(image, backgroundColor));
  // About 106.1 to 532.9 units across and 2.2 to 466.8 down.
  EXPECT_NEAR(disc.left, 106.1 * pixelsPerUnitX, 1);
  EXPECT_NEAR(disc.right, 532.9 * pixelsPerUnitX, 1);
  EXPECT_NEAR(disc.top, 2.2 * pixelsPerUnitY, 1);
  EXPECT_NEAR(disc.bottom, 466.8 * pixelsPerUnitY, 1);
  EXPECT_LE(std::abs((disc.right - disc.left) - (disc.bottom - disc.top)), 1);
}

TEST_F(SurfaceWithoutText, ACircleHasItsOutlineInItsColourAndIsFilledWhite) {
  surface.drawCircle(100, 100, 20, red);
  const PixelSet painted = paintedPixels(image, backgroundColor);
  const Bounds disc = boundsOf(painted);
  const int cx = (disc.left + disc.right) / 2, cy = (disc.top + disc.bottom) / 2;
  EXPECT_EQ(image.pixel(cx, cy), fillColor);
  EXPECT_EQ(image.pixel(disc.left, cy), red);
  EXPECT_EQ(image.pixel(disc.right, cy), red);
  EXPECT_EQ(image.pixel(cx, disc.top), red);
  EXPECT_EQ(image.pixel(cx, disc.bottom), red);
  for (const auto& [x, y] : painted) {
    const Colour c = image.pixel(x, y);
    ASSERT_TRUE(c == red || c == fillColor) << x << "," << y;
    // The outline is one pixel wide: a white pixel never touches the background.
    if (c == fillColor) {
      for (const auto& [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}})
        ASSERT_NE(image.pixel(nx, ny), backgroundColor) << x << "," << y;
    }
  }
}

TEST_F(SurfaceWithoutText, ACircleOverTheCornerIsClippedWithoutAnOutlineAlongTheBorder) {
  surface.drawCircle(0, 0, 30, red);
  EXPECT_EQ(image.pixel(0, 0), fillColor);
  EXPECT_EQ(image.pixel(0, 20), fillColor);
  const Bounds disc = boundsOf(paintedPixels(image, backgroundColor));
  EXPECT_EQ(disc.left, 0);
  EXPECT_EQ(disc.top, 0);
  EXPECT_EQ(disc.right, 29);  // 30 units are 29.84 pixels
  EXPECT_EQ(disc.bottom, 29);
}

TEST_F(SurfaceWithoutText, TextWithoutAFontDrawsNothingButMovesToTheNextLine) {
  surface.plotPoint(127.8f, 20, white);
  surface.printLine("TILVERA.");
  EXPECT_EQ(paintedPixels(image, backgroundColor).size(), 1u);  // the point alone
  EXPECT_EQ(surface.textPosition().x, 0);
  EXPECT_FLOAT_EQ(surface.textPosition().y,
                  20 + ImageSurface::nominalLineHeightPixels / pixelsPerUnitY);
}

}  // namespace
}  // namespace tilvera
