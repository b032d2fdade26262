#pragma once

#include <cstdint>
#include <vector>

#include "growth/PendingBranch.h"
#include "platform/Colour.h"
#include "setup/TreeParams.h"
#include "shell/ScreenGeometry.h"

namespace tilvera {

// The one record of all generator state. It lives from start-up to the end of
// the process; every operation of the generator reads and writes its fields.
struct GeneratorState : ScreenGeometry, TreeParams {
  // Per-tree set-up; the start and end fields also carry one segment from
  // fetchBranch to drawBranch to pushBranch.
  std::int16_t levelCount = 0;
  float lengthRatio = 0;
  int referenceHeight = 0;
  double segmentLength = 0;
  float segmentWidth = 0;
  std::int16_t randomBase = 0;
  std::int16_t startX = 0;
  std::int16_t startY = 0;
  std::int16_t startAngle = 0;
  std::int16_t endX = 0;
  std::int16_t endY = 0;
  double endAngle = 0;

  // Pending branches: created once at start-up with queueRows zero rows, never resized.
  std::vector<PendingBranch> branchQueue;
  std::int32_t readBase = 0;
  std::int32_t writeBase = 0;
  std::int32_t lastPushRow = 0;
  std::int16_t nodesInLevel = 0;
  std::int16_t nodeIndex = 0;
  std::int16_t childIndex = 0;

  // Growth.
  std::int16_t level = 0;
  double levelFraction = 0;
  Colour branchColor = 0;

  // Rendering, and the constants fixed at start-up.
  double halfWidthX = 0;
  double halfWidthY = 0;
  double branchLength = 0;
  Colour trunkColor = 0;
  Colour edgeColor = 0;
  double degToRad = 0;
};

}  // namespace tilvera
