#pragma once

#include "Colour.h"

namespace tilvera {

// The window's three colours. The background stands for the desktop's system
// colour 0, the scroll-bar colour, in its classic light grey.
inline constexpr Colour backgroundColor = rgb(200, 200, 200);
inline constexpr Colour textColor = rgb(13, 5, 128);
inline constexpr Colour fillColor = rgb(255, 255, 255);

}  // namespace tilvera
