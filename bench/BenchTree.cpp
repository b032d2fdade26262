#include "BenchTree.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "TreeRigs.h"
#include "platform/ImageSurface.h"

namespace tilvera::bench {

namespace {

bool samePixels(const Image& a, const Image& b) {
  const std::size_t count = static_cast<std::size_t>(a.width()) * a.height();
  return std::equal(a.data(), a.data() + count, b.data());
}

}  // namespace

BenchTree recordTree(std::uint64_t seed) {
  BenchTree tree;
  tree.seed = seed;
  StreamRecorder recorder(tree.stream);
  GeneratorRig(recorder).tree(seed);
  tree.group = lineGroupOf(tree.lines());
  tree.floor = recordFloor(tree.stream, imageWidth, imageHeight);

  Image painted(imageWidth, imageHeight), stored(imageWidth, imageHeight);
  ImageSurface surface(painted, nullptr);
  replay(tree.stream, surface);
  storeFloor(tree.floor, stored.data());
  if (!samePixels(painted, stored))
    throw std::runtime_error("the floor of seed " + std::to_string(seed) +
                             " does not store what the raster paints");
  return tree;
}

}  // namespace tilvera::bench
