#pragma once

#include <string_view>

#include "Colour.h"

namespace tilvera {

struct UnitPoint {
  float x = 0;
  float y = 0;
};

// The window's persistent drawing surface, in units: 640 across, 480 down,
// origin top left, y growing downwards. Whatever falls off the surface is
// clipped. The generator draws only through these five primitives.
class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // Paints everything in the background colour and sends the text position to (0, 0).
  virtual void clearSurface() = 0;
  // A one-pixel solid line from (x1, y1) to (x2, y2).
  virtual void drawLine(float x1, float y1, float x2, float y2, Colour colour) = 0;
  // A circle round on the screen, its radius in horizontal units, its outline in
  // `colour` and its inside filled with the surface's fill colour (white).
  virtual void drawCircle(float cx, float cy, float r, Colour colour) = 0;
  // One point; it also moves the text position there.
  virtual void plotPoint(float x, float y, Colour colour) = 0;
  // One line of text (UTF-8) in the window font and text colour, top left of its
  // first character at the text position, which then moves to the next line.
  virtual void printLine(std::string_view text) = 0;

  virtual UnitPoint textPosition() const = 0;
};

}  // namespace tilvera
