#include "growth/Canvas.h"

namespace tilvera {

namespace {

constexpr Colour brightWhite = rgb(255, 255, 255);

}  // namespace

void prepareCanvas(GeneratorState& g, DrawingSurface& surface, EventPump& events) {
  events.lastKey.reset();
  surface.clearSurface();

  // Computed in double from the 16-bit bounds and handed over in single precision:
  // centre (319.5, 234.5), radius 213.395.
  const double centreX = g.maxX / 2.0;
  const double centreY = g.maxY / 2.0;
  const double radius = g.maxY / 2.0 * 0.91;
  surface.drawCircle(static_cast<float>(centreX), static_cast<float>(centreY),
                     static_cast<float>(radius), brightWhite);

  // The point also moves the text position to where the banner begins.
  surface.plotPoint(static_cast<float>(g.maxX / 5.0), 20.0f, brightWhite);
  surface.printLine(bannerText);
}

}  // namespace tilvera
