#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/RandomSource.h"

namespace tilvera::fuzz {

// The generator's random source made of the fuzzer's bytes: every three bytes
// are one uniform k * 2^-24, k < 2^24, exact in single precision, so each input
// is a valid sequence of uniforms and 0 and 1 - 2^-24 are both reachable. The
// bytes are read round and round; an empty input gives 0 for ever.
class ByteUniforms : public RandomSource {
 public:
  ByteUniforms(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

  // The bytes are the only source; the time-of-day seed is ignored.
  void seed(std::uint64_t) override {}

  float uniform() override {
    ++drawn;
    if (size_ == 0) return 0.0f;
    std::uint32_t k = 0;
    for (int byte = 0; byte < 3; ++byte) {
      k = k << 8 | bytes_[next_];
      next_ = (next_ + 1) % size_;
    }
    return static_cast<float>(k) * 0x1p-24f;
  }

  long drawn = 0;

 private:
  const std::uint8_t* bytes_;
  std::size_t size_;
  std::size_t next_ = 0;
};

}  // namespace tilvera::fuzz
