#pragma once

#include "shell/GeneratorState.h"

namespace tilvera {

// The ring of pending branch tips; every position is reduced modulo queueCapacity.
void resetQueue(GeneratorState& g);    // the trunk's top becomes the only pending branch
void pushBranch(GeneratorState& g);    // queues (endX, endY, endAngle) for the next level
void fetchBranch(GeneratorState& g);   // the node at nodeIndex into startX, startY, startAngle
void advanceLevel(GeneratorState& g);  // the block just written becomes the one to read

}  // namespace tilvera
