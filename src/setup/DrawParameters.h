#pragma once

#include "platform/RandomSource.h"
#include "shell/GeneratorState.h"

namespace tilvera {

// Sets the fixed ranges and draws the tree's five parameters: five uniforms, in order.
void drawParameters(GeneratorState& g, RandomSource& random);

}  // namespace tilvera
