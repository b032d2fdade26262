#pragma once

#include "platform/Clock.h"
#include "platform/DrawingSurface.h"
#include "platform/EventPump.h"
#include "platform/RandomSource.h"
#include "shell/GeneratorState.h"

namespace tilvera {

// The platform as the generator reaches it: one surface, one random source,
// one clock and the window's event pump, all owned by whoever runs the generator.
struct GeneratorPorts {
  DrawingSurface& surface;
  RandomSource& random;
  Clock& clock;
  EventPump& events;
};

// Start-up, once: clear the surface, fill the screen geometry, seed the random
// source, create the branch queue and fix the rendering constants.
void startUp(GeneratorState& g, GeneratorPorts& ports);

// One turn of the generation cycle: re-seed from the time of day, draw the
// parameters, set up and draw one whole tree (canvas, trunk, levels).
void runTree(GeneratorState& g, GeneratorPorts& ports);

// Start-up followed by the endless cycle; ends only through the event pump.
[[noreturn]] void RunGenerator(GeneratorPorts& ports);

}  // namespace tilvera
