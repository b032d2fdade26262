#pragma once

#include <cstdint>

#include "RandomSource.h"

namespace tilvera {

// PCG32 (XSH RR): 64-bit state, 32-bit output, its stream and start both
// spread from the seed through splitmix64, so nearby seeds start far apart.
class PcgRandom final : public RandomSource {
 public:
  explicit PcgRandom(std::uint64_t seed = 0) { PcgRandom::seed(seed); }

  void seed(std::uint64_t seed) override;
  // 24 random bits scaled by 2^-24: every value is exact in a float, and the
  // largest is 1 - 2^-24, so 1 never occurs.
  float uniform() override;
  std::uint32_t next32();

 private:
  std::uint64_t state_ = 0;
  std::uint64_t increment_ = 1;  // odd: selects the stream
};

}  // namespace tilvera
