#pragma once

#include "platform/DrawingSurface.h"
#include "platform/EventPump.h"
#include "shell/GeneratorState.h"

namespace tilvera {

// The first step of every tree: forget any pending key, wipe the surface, draw
// the white disc and the banner.
void prepareCanvas(GeneratorState& g, DrawingSurface& surface, EventPump& events);

}  // namespace tilvera
