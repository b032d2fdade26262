#pragma once

#include "platform/Clock.h"
#include "platform/DrawingSurface.h"
#include "platform/EventPump.h"
#include "platform/RandomSource.h"

namespace tilvera {

// The platform as the generator reaches it: one surface, one random source,
// one clock and the window's event pump, all owned by whoever runs the generator.
struct GeneratorPorts {
  DrawingSurface& surface;
  RandomSource& random;
  Clock& clock;
  EventPump& events;
};

}  // namespace tilvera
