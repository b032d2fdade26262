#pragma once

#include <cstdlib>
#include <utility>

namespace tilvera::testing {

// The plain Bresenham walk the raster is held to: from the end with the lower
// major coordinate, the minor offset after i steps is i * rise / length rounded
// with ties moving on, floor((2 i rise + length) / (2 length)). Visits every
// step, however far off any image.
template <typename Visit>
void walkReferenceLine(long x1, long y1, long x2, long y2, Visit visit) {
  const bool xMajor = std::labs(x2 - x1) >= std::labs(y2 - y1);
  long m1 = xMajor ? x1 : y1, n1 = xMajor ? y1 : x1, m2 = xMajor ? x2 : y2, n2 = xMajor ? y2 : x2;
  if (m1 > m2) {
    std::swap(m1, m2);
    std::swap(n1, n2);
  }
  const long length = m2 - m1, rise = std::labs(n2 - n1), sign = n2 >= n1 ? 1 : -1;
  for (long i = 0; i <= length; ++i) {
    const long offset = length == 0 ? 0 : (2 * i * rise + length) / (2 * length);
    const long m = m1 + i, n = n1 + sign * offset;
    visit(xMajor ? m : n, xMajor ? n : m);
  }
}

}  // namespace tilvera::testing
