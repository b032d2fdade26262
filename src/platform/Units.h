#pragma once

#include "Rounding.h"

namespace tilvera {

// The surface is 640 x 480 units over a client area of 9550 x 6580 twips, and a
// pixel is 15 twips (96 dpi). Units are therefore not square, and their size is
// fixed: a larger window shows more background, never a larger tree.
inline constexpr double twipsPerPixel = 15.0;
inline constexpr double twipsPerUnitX = 9550.0 / 640.0;  // 14.921875
inline constexpr double twipsPerUnitY = 6580.0 / 480.0;  // 13.708333...
inline constexpr double pixelsPerUnitX = twipsPerUnitX / twipsPerPixel;
inline constexpr double pixelsPerUnitY = twipsPerUnitY / twipsPerPixel;

// Pixel space is real-valued with pixel centres on the integers: pixel i covers
// [i - 0.5, i + 0.5).
inline double pixelX(double unitX) {
  return unitX * pixelsPerUnitX;
}
inline double pixelY(double unitY) {
  return unitY * pixelsPerUnitY;
}
inline double unitsDown(double pixels) {
  return pixels / pixelsPerUnitY;
}

// The pixel holding a pixel-space coordinate. Only for values known to fit in
// an int; callers clip or clamp first.
inline int pixelIndex(double pixelCoordinate) {
  return roundHalfEven<int>(pixelCoordinate);
}

}  // namespace tilvera
