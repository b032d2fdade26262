#pragma once

namespace tilvera {

// A point in pixel space.
struct PixelPoint {
  double x, y;
};

// Whether a point lies within `reach` pixels of a width x height image.
inline bool withinReach(PixelPoint p, int width, int height, double reach) {
  return p.x >= -reach && p.x <= width + reach && p.y >= -reach && p.y <= height + reach;
}

// Shortens the segment from a to b, keeping it on the same line, until both
// ends lie within reach of the image while every part of it near the image
// remains; false when no part of it comes near the image. For end points
// beyond reach only (a and b finite). Halving keeps every new point as exact
// as its own size allows, where a cut computed from the far ends would lose
// all precision to cancellation.
bool bringWithinReach(PixelPoint& a, PixelPoint& b, int width, int height, double reach);

}  // namespace tilvera
