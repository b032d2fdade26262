#include "render/TracingSurface.h"

namespace tilvera {

void TracingSurface::clearSurface() {
  trace_.clear();
  inner_.clearSurface();
}

void TracingSurface::drawLine(float x1, float y1, float x2, float y2, Colour colour) {
  trace_.line(x1, y1, x2, y2, colour);
  inner_.drawLine(x1, y1, x2, y2, colour);
}

void TracingSurface::drawCircle(float cx, float cy, float r, Colour colour) {
  trace_.circle(cx, cy, r, colour);
  inner_.drawCircle(cx, cy, r, colour);
}

void TracingSurface::plotPoint(float x, float y, Colour colour) {
  trace_.point(x, y, colour);
  inner_.plotPoint(x, y, colour);
}

void TracingSurface::printLine(std::string_view text) {
  // The record names where the text begins, so it is taken before printing moves it.
  const UnitPoint at = inner_.textPosition();
  trace_.text(at.x, at.y, text);
  inner_.printLine(text);
}

}  // namespace tilvera
