#pragma once

#include <string_view>

namespace tilvera {

// The text of --help, ending in a newline.
std::string_view usageText();
// "tilvera-render 0.1.0", the project's version, without a newline.
std::string_view versionText();

}  // namespace tilvera
