#pragma once

#include <cstdint>
#include <vector>

#include "PrimitiveStream.h"
#include "platform/Image.h"

namespace tilvera::bench {

// The cost floor of a stream: exactly the pixels our raster paints for it, as
// offsets into the image in the order it paints them, each primitive's run of
// pixels with its colour. Storing them is all a raster cannot avoid.
struct FloorStream {
  struct Run {
    std::uint32_t pixels;
    Colour colour;
  };
  std::vector<Run> runs;
  std::vector<std::uint32_t> offsets;
};

// Finds the pixels by letting the raster paint each primitive alone on a blank
// image and reading back what changed, ordered along the line as the raster
// walks it.
FloorStream recordFloor(const PrimitiveStream& stream, int width, int height);

// The floor itself: one plain 32-bit store per pixel.
void storeFloor(const FloorStream& floor, Colour* pixels);

}  // namespace tilvera::bench
