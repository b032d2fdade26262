#pragma once

#include "shell/GeneratorState.h"

namespace tilvera {

// Places the trunk from (320, 469) up to (320, 349), pointing up.
void placeTree(GeneratorState& g);

// Places the trunk, fixes the depth, the base length of the length series and
// the trunk width, and queues the trunk's top as the only pending branch.
void setUpTree(GeneratorState& g);

}  // namespace tilvera
