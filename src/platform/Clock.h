#pragma once

#include <cstdint>

namespace tilvera {

// The time of day, as the generator's seed for the tree begun now.
class Clock {
 public:
  virtual ~Clock() = default;
  // Nanoseconds since local midnight: two trees begun at different moments
  // get different seeds, down to the clock's resolution.
  virtual std::uint64_t nanosecondsSinceMidnight() = 0;
};

}  // namespace tilvera
