#pragma once

#include <algorithm>
#include <cstddef>

#include "Colour.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tilvera {

// Paints `count` pixels from `pixels` on in one colour. Every tree begins by
// clearing the whole image and filling a disc of about 140,000 pixels; four
// pixels a store instead of one take most of the cost out of that.
inline void fillPixels(Colour* pixels, std::size_t count, Colour colour) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i four = _mm_set1_epi32(static_cast<int>(colour));
  for (; i + 4 <= count; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + i), four);
#endif
  std::fill(pixels + i, pixels + count, colour);
}

}  // namespace tilvera
