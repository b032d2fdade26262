// Lines wholly on the image take a walk of their own (no clipping, a
// fixed-point reciprocal for the minor axis); here they are held to the
// Bresenham line walked the plain way, on images large enough for every
// length that walk treats differently.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <utility>

#include "PixelProbe.h"
#include "ReferenceLine.h"
#include "platform/PixelLine.h"

namespace tilvera {
namespace {

using testing::paintedPixels;
using testing::PixelSet;

constexpr Colour ink = 0x00FF00;

PixelSet bresenham(long x1, long y1, long x2, long y2) {
  PixelSet pixels;
  testing::walkReferenceLine(x1, y1, x2, y2, [&](long x, long y) {
    pixels.insert({static_cast<int>(x), static_cast<int>(y)});
  });
  return pixels;
}

PixelSet painted(Image& image, int x1, int y1, int x2, int y2) {
  image.fill(0);
  paintLine(image, x1, y1, x2, y2, ink);
  return paintedPixels(image);
}

void expectBresenham(Image& image, int x1, int y1, int x2, int y2) {
  ASSERT_EQ(painted(image, x1, y1, x2, y2), bresenham(x1, y1, x2, y2))
      << x1 << "," << y1 << " to " << x2 << "," << y2;
}

// Lengths either side of the tabled reciprocals (64) and of the longest line
// the reciprocal serves exactly (4096), every way round, with rises that put
// ties on the line.
TEST(LineWalk, LongLinesOnTheImageAreExactlyBresenham) {
  Image wide(4200, 40), tall(40, 4200);
  for (int length : {1, 2, 3, 62, 63, 64, 65, 127, 128, 1000, 4094, 4095, 4096, 4097, 4199}) {
    for (int rise : {0, 1, 3, 20, 39}) {
      if (rise > length) continue;
      expectBresenham(wide, 0, 0, length, rise);
      expectBresenham(wide, length, rise, 0, 0);
      expectBresenham(wide, 0, rise, length, 0);
      expectBresenham(wide, length, 0, 0, rise);
      expectBresenham(tall, 0, 0, rise, length);
      expectBresenham(tall, rise, length, 0, 0);
      expectBresenham(tall, rise, 0, 0, length);
      expectBresenham(tall, 0, length, rise, 0);
    }
  }
}

// The lines of one or two pixels that make up most of many trees, every way
// round, at the corners and edges of the image as well as inside it.
TEST(LineWalk, LinesOfOneOrTwoPixelsPaintExactlyTheirEnds) {
  Image image(9, 7);
  for (int y1 = 0; y1 < 7; y1 += 3) {
    for (int x1 = 0; x1 < 9; x1 += 4) {
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
          if (!image.contains(x1 + dx, y1 + dy)) continue;
          expectBresenham(image, x1, y1, x1 + dx, y1 + dy);
        }
      }
    }
  }
}

TEST(LineWalk, RandomLinesOnALargeImageAreExactlyBresenham) {
  Image image(1000, 1000);
  std::mt19937 random(17);
  std::uniform_int_distribution<int> anywhere(0, 999), near(-12, 12);
  for (int n = 0; n < 150; ++n) {
    const int x1 = anywhere(random), y1 = anywhere(random);
    expectBresenham(image, x1, y1, anywhere(random), anywhere(random));
    // Short lines, as a tree draws them by the thousand.
    const int x2 = std::clamp(x1 + near(random), 0, 999),
              y2 = std::clamp(y1 + near(random), 0, 999);
    expectBresenham(image, x1, y1, x2, y2);
  }
}

}  // namespace
}  // namespace tilvera
