#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace tilvera {

// Stands in for the time of day: the generator seeds each tree from one reading
// of the clock, so setting it before a tree chooses that tree's seed.
class FixedSeedClock : public Clock {
 public:
  void set(std::uint64_t reading) { reading_ = reading; }
  std::uint64_t nanosecondsSinceMidnight() override { return reading_; }

 private:
  std::uint64_t reading_ = 0;
};

}  // namespace tilvera
