#pragma once

#include <cassert>
#include <cmath>
#include <cstdint>
#include <limits>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace tilvera {

// The one conversion from a real value to an integer in the whole program:
// round to nearest, ties to the even neighbour (0.5 -> 0, 2.5 -> 2, 319.5 -> 320).
// std::round and std::lround send halves away from zero and would move the
// trunk's base, the tree's depth and every end point that lands on a half.
// Both ways below round in the current rounding mode, which the program never
// changes from the default round-to-nearest-even. For values that fit the
// target type they give what std::nearbyint gives.
template <typename Int>
inline Int roundHalfEven(double value) {
  // The instruction below turns a value that does not fit into a quiet
  // sentinel, out of the sanitizers' sight; development builds check instead
  // that every value fits the field it is rounded into.
  assert(std::nearbyint(value) >= static_cast<double>(std::numeric_limits<Int>::min()) &&
         std::nearbyint(value) <= static_cast<double>(std::numeric_limits<Int>::max()));
#if defined(__x86_64__)
  // One instruction (cvtsd2si), where std::nearbyint is a library call on
  // x86-64 processors without SSE4.1, paid four times for every line.
  return static_cast<Int>(_mm_cvtsd_si64(_mm_set_sd(value)));
#else
  return static_cast<Int>(std::nearbyint(value));
#endif
}

}  // namespace tilvera
