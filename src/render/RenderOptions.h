#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tilvera {

// What one run of tilvera-render is asked to do.
struct RenderOptions {
  std::optional<std::uint64_t> seed;  // --seed N: tree k is seeded with N + k - 1
  std::string uniformsPath;           // --uniforms FILE: empty when not given
  std::uint64_t trees = 1;            // --trees K
  std::string pngPath;                // --png FILE: empty when not given
  std::string tracePath;              // --trace FILE: empty when not given
};

}  // namespace tilvera
