#include "shell/ScreenGeometry.h"

namespace tilvera {

void initScreenGeometry(ScreenGeometry& geometry) {
  geometry.minX = 0;
  geometry.minY = 0;
  geometry.maxX = 639;
  // The usable area stops ten units above the bottom edge of the 480-unit surface, and the
  // length series is scaled to 479, not 480.
  geometry.maxY = 469;
  geometry.screenWidth = 640;
  geometry.screenHeight = 479;
  geometry.aspect = 0.83;
}

}  // namespace tilvera
