#pragma once

#include <cmath>
#include <cstdint>

namespace tilvera {

// The one conversion from a real value to an integer in the whole program:
// round to nearest, ties to the even neighbour (0.5 -> 0, 2.5 -> 2, 319.5 -> 320).
// std::round and std::lround send halves away from zero and would move the
// trunk's base, the tree's depth and every end point that lands on a half.
// std::nearbyint follows the current rounding mode, which the program never
// changes from the default round-to-nearest-even.
template <typename Int>
inline Int roundHalfEven(double value) {
  return static_cast<Int>(std::nearbyint(value));
}

}  // namespace tilvera
