#pragma once

#include "shell/GeneratorPorts.h"
#include "shell/GeneratorState.h"

namespace tilvera {

// Grows the tree above its trunk breadth-first, one level at a time, polling
// the keyboard after every level.
void growLevels(GeneratorState& g, GeneratorPorts& ports);

}  // namespace tilvera
