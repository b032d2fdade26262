#pragma once

#include <set>
#include <utility>

#include "platform/Image.h"

namespace tilvera::testing {

using Pixel = std::pair<int, int>;  // x, y
using PixelSet = std::set<Pixel>;

// Every pixel of the image that differs from `background`.
inline PixelSet paintedPixels(const Image& image, Colour background = 0) {
  PixelSet painted;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != background) painted.insert({x, y});
  return painted;
}

// The part of `big` seen through a window of `small`'s size at (left, top).
inline PixelSet paintedInWindow(const Image& big, int left, int top, int width, int height,
                                Colour background = 0) {
  PixelSet painted;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (big.pixel(left + x, top + y) != background) painted.insert({x, y});
  return painted;
}

}  // namespace tilvera::testing
