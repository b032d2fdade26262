#pragma once

#include <cstdint>

namespace tilvera {

// A colour as the program keeps it: red in the lowest byte, green in the next,
// blue in the third, the highest byte 0 (red + 256 * green + 65536 * blue).
using Colour = std::uint32_t;

constexpr Colour rgb(unsigned red, unsigned green, unsigned blue) {
  return static_cast<Colour>(red | (green << 8) | (blue << 16));
}
constexpr unsigned redOf(Colour c) { return c & 0xFFu; }
constexpr unsigned greenOf(Colour c) { return (c >> 8) & 0xFFu; }
constexpr unsigned blueOf(Colour c) { return (c >> 16) & 0xFFu; }

}  // namespace tilvera
