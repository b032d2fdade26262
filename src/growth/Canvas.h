#pragma once

#include <string_view>

#include "platform/DrawingSurface.h"
#include "platform/EventPump.h"
#include "shell/GeneratorState.h"

namespace tilvera {

// The one line written above every tree: the title, one blank, a short credit.
inline constexpr std::string_view bannerText = "TILVERA. Árboles fractales al azar, uno tras otro.";

// The first step of every tree: forget any pending key, wipe the surface, draw
// the white disc and the banner.
void prepareCanvas(GeneratorState& g, DrawingSurface& surface, EventPump& events);

}  // namespace tilvera
