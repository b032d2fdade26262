#pragma once

#include <cstdint>

namespace tilvera {

// One row of the branch queue: a tip from which the next level grows.
struct PendingBranch {
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::int16_t angle = 0;   // whole degrees, counter-clockwise, 90 straight up
  std::int16_t unused = 0;  // never read or written
};

// Positions are reduced modulo this before the table is addressed.
inline constexpr std::int32_t queueCapacity = 32000;
// Rows 0 to queueCapacity inclusive; the last row is never reached.
inline constexpr std::int32_t queueRows = queueCapacity + 1;

}  // namespace tilvera
