#pragma once

#include "platform/DrawingSurface.h"
#include "platform/RandomSource.h"
#include "shell/GeneratorState.h"

namespace tilvera {

// Half-widths of the segments about to be drawn; narrows segmentWidth for what follows.
void stepWidth(GeneratorState& g);
// The trunk from (startX, startY) to (endX, endY), with all four edge lines.
void drawTrunk(GeneratorState& g, DrawingSurface& surface);
// One branch of the current fork: two uniforms, its end point and direction,
// and its stroke when the end point lies on the usable area.
void drawBranch(GeneratorState& g, RandomSource& random, DrawingSurface& surface);

}  // namespace tilvera
