#pragma once

#include <cstdint>

namespace tilvera {

// The generator's one source of randomness.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual void seed(std::uint64_t seed) = 0;
  // A uniform single-precision number u with 0 <= u < 1; 1 never occurs.
  virtual float uniform() = 0;
};

}  // namespace tilvera
