#include "platform/PcgRandom.h"

namespace tilvera {

namespace {

constexpr std::uint64_t pcgMultiplier = 6364136223846793005ULL;

std::uint64_t splitMix64(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::uint32_t rotateRight(std::uint32_t value, unsigned by) {
  return (value >> by) | (value << ((32 - by) & 31));
}

}  // namespace

void PcgRandom::seed(std::uint64_t seed) {
  std::uint64_t spread = seed;
  increment_ = (splitMix64(spread) << 1) | 1;
  state_ = splitMix64(spread);
  next32();
}

std::uint32_t PcgRandom::next32() {
  const std::uint64_t old = state_;
  state_ = old * pcgMultiplier + increment_;
  const auto xorShifted = static_cast<std::uint32_t>(((old >> 18) ^ old) >> 27);
  return rotateRight(xorShifted, static_cast<unsigned>(old >> 59));
}

float PcgRandom::uniform() {
  constexpr float twoToMinus24 = 1.0f / 16777216.0f;
  return static_cast<float>(next32() >> 8) * twoToMinus24;
}

}  // namespace tilvera
