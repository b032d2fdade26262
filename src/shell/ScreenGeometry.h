#pragma once

#include <cstdint>

namespace tilvera {

// The usable drawing area and the vertical scale, set once at start-up by
// initScreenGeometry and never changed.
struct ScreenGeometry {
  std::int16_t minX = 0;
  std::int16_t minY = 0;
  std::int16_t maxX = 0;
  std::int16_t maxY = 0;  // 469, not 479: the usable area stops ten units short of the bottom
  std::int16_t screenWidth = 0;
  std::int16_t screenHeight = 0;  // 479, not 480
  double aspect = 0;
};

}  // namespace tilvera

namespace tilvera {

// Fills the geometry of the 640 by 480 surface; called once at start-up.
void initScreenGeometry(ScreenGeometry& geometry);

}  // namespace tilvera
