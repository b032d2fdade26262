#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/RandomSource.h"

namespace tilvera::testing {

// Returns the given uniforms in order, then `fallback` for ever (or throws when
// no fallback was given). Seeds are recorded, not used.
class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(std::vector<float> values = {}) : values_(std::move(values)) {}
  ScriptedRandom& thenForever(float value) {
    fallback_ = value;
    hasFallback_ = true;
    return *this;
  }

  void seed(std::uint64_t seed) override { seeds.push_back(seed); }
  float uniform() override {
    ++drawn;
    if (next_ < values_.size()) return values_[next_++];
    if (!hasFallback_) throw std::runtime_error("scripted uniforms ran out");
    return fallback_;
  }

  std::vector<std::uint64_t> seeds;
  std::size_t drawn = 0;

 private:
  std::vector<float> values_;
  std::size_t next_ = 0;
  float fallback_ = 0;
  bool hasFallback_ = false;
};

}  // namespace tilvera::testing
