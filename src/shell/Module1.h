#pragma once

#include "shell/GeneratorPorts.h"
#include "shell/GeneratorState.h"

namespace tilvera {

// Start-up, once: clear the surface, fill the screen geometry, seed the random
// source, create the branch queue and fix the rendering constants.
void startUp(GeneratorState& g, GeneratorPorts& ports);

// One turn of the generation cycle: re-seed from the time of day, draw the
// parameters, set up and draw one whole tree (canvas, trunk, levels).
void runTree(GeneratorState& g, GeneratorPorts& ports);

// Start-up followed by the endless cycle; ends only through the event pump.
[[noreturn]] void RunGenerator(GeneratorPorts& ports);

}  // namespace tilvera
