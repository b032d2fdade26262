#pragma once

#include <cstdint>

#include "BenchSeeds.h"
#include "FloorStream.h"
#include "PrimitiveStream.h"

namespace tilvera::bench {

// One seed's tree, recorded once before any timing.
struct BenchTree {
  std::uint64_t seed = 0;
  LineGroup group = LineGroup::light;
  PrimitiveStream stream;
  FloorStream floor;

  long lines() const { return static_cast<long>(stream.size()); }
  long pixels() const { return static_cast<long>(floor.offsets.size()); }
};

// Records the stream and the floor of a seed's tree, and checks that storing
// the floor gives the very image the raster paints. Throws when it does not.
BenchTree recordTree(std::uint64_t seed);

}  // namespace tilvera::bench
