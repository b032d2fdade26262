#pragma once

#include <string>

#include "make-icon/IconArt.h"

namespace tilvera::icon {

// Writes the picture as an 8-bit RGBA PNG; false with *error set when it cannot.
bool writeRgbaPng(const IconPicture& picture, const std::string& path, std::string* error);

}  // namespace tilvera::icon
