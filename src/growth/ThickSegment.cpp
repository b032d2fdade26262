#include "growth/ThickSegment.h"

namespace tilvera {

namespace {

struct Point {
  double x;
  double y;
};

void line(DrawingSurface& surface, Point from, Point to, Colour colour) {
  surface.drawLine(static_cast<float>(from.x), static_cast<float>(from.y), static_cast<float>(to.x),
                   static_cast<float>(to.y), colour);
}

// Offsets run from -half in steps of 1 while they stay <= half, so the fraction
// of `half` is kept and a half-width below 0.5 gives a single line. The running
// sum is exact: it never leaves the binade of `half`.
template <typename DrawAt>
void fan(double half, DrawAt drawAt) {
  for (double offset = -half; offset <= half; offset += 1.0) drawAt(offset);
}

}  // namespace

void drawThickSegment(const GeneratorState& g, DrawingSurface& surface, Colour fill,
                      SegmentEdges edges) {
  const Point s{static_cast<double>(g.startX), static_cast<double>(g.startY)};
  const Point t{static_cast<double>(g.endX), static_cast<double>(g.endY)};
  const double hx = g.halfWidthX;
  const double hy = g.halfWidthY;
  const double f = g.widthFactor;  // the end is narrower than the start by this

  // Along the axes, not across the segment: the horizontal fan widens steep
  // segments, the vertical fan flat ones.
  fan(hx, [&](double o) { line(surface, {s.x + o, s.y}, {t.x + o / f, t.y}, fill); });
  fan(hy, [&](double o) { line(surface, {s.x, s.y + o}, {t.x, t.y + o / f}, fill); });

  // Last, so they lie on top of the fill.
  if (edges.left) line(surface, {s.x - hx, s.y}, {t.x - hx / f, t.y}, g.edgeColor);
  if (edges.right) line(surface, {s.x + hx, s.y}, {t.x + hx / f, t.y}, g.edgeColor);
  if (edges.upper) line(surface, {s.x, s.y - hy}, {t.x, t.y - hy / f}, g.edgeColor);
  if (edges.lower) line(surface, {s.x, s.y + hy}, {t.x, t.y + hy / f}, g.edgeColor);
}

}  // namespace tilvera
