#include "platform/LineReach.h"

#include <algorithm>
#include <cmath>

namespace tilvera {

namespace {

// Enough halvings to come down from the largest double to one pixel.
constexpr int halvingLimit = 2200;

PixelPoint midpoint(PixelPoint a, PixelPoint b) {
  // Halving first cannot overflow, and is exact: one rounding in all.
  return {a.x / 2 + b.x / 2, a.y / 2 + b.y / 2};
}

// Whether the bounding box of a to b meets the image widened by a pixel: a
// piece whose box misses it cannot paint a pixel.
bool mayShow(PixelPoint a, PixelPoint b, int width, int height) {
  return std::min(a.x, b.x) <= width && std::max(a.x, b.x) >= -1 && std::min(a.y, b.y) <= height &&
         std::max(a.y, b.y) >= -1;
}

// A point of the segment within reach, found by keeping the half that may
// show. Both ends are beyond reach, so the halves' boxes meet only far from
// the image and at most one of them can show.
bool findPointWithinReach(PixelPoint a, PixelPoint b, int width, int height, double reach,
                          PixelPoint& found) {
  for (int n = 0; n < halvingLimit; ++n) {
    const PixelPoint middle = midpoint(a, b);
    if (withinReach(middle, width, height, reach)) {
      found = middle;
      return true;
    }
    if (mayShow(a, middle, width, height))
      b = middle;
    else if (mayShow(middle, b, width, height))
      a = middle;
    else
      return false;
  }
  return false;
}

// Moves `far` along the segment towards `near` (within reach) to within a pixel
// of where the segment crosses the reach: all that lies beyond is far from the image.
PixelPoint pullWithinReach(PixelPoint far, PixelPoint near, int width, int height, double reach) {
  for (int n = 0; n < halvingLimit; ++n) {
    if (std::max(std::fabs(far.x - near.x), std::fabs(far.y - near.y)) <= 1) break;
    const PixelPoint middle = midpoint(far, near);
    (withinReach(middle, width, height, reach) ? near : far) = middle;
  }
  return near;
}

}  // namespace

bool bringWithinReach(PixelPoint& a, PixelPoint& b, int width, int height, double reach) {
  const bool aWithin = withinReach(a, width, height, reach);
  const bool bWithin = withinReach(b, width, height, reach);
  PixelPoint inside = aWithin ? a : b;
  if (!aWithin && !bWithin && !findPointWithinReach(a, b, width, height, reach, inside))
    return false;
  if (!aWithin) a = pullWithinReach(a, inside, width, height, reach);
  if (!bWithin) b = pullWithinReach(b, inside, width, height, reach);
  return true;
}

}  // namespace tilvera
