#pragma once

#include <cmath>

#include "shell/GeneratorState.h"

namespace tilvera::testing {

// A generator state on the 640 by 480 surface, with the rendering constants
// that start-up fixes. The branch queue is left empty.
inline GeneratorState stateOnScreen() {
  GeneratorState g;
  g.minX = 0;
  g.minY = 0;
  g.maxX = 639;
  g.maxY = 469;
  g.screenWidth = 640;
  g.screenHeight = 479;
  g.aspect = 0.83;
  g.trunkColor = 8;
  g.edgeColor = rgb(50, 100, 50);
  g.degToRad = 4 * std::atan(1.0) / 180;
  return g;
}

}  // namespace tilvera::testing
