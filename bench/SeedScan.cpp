// Prints the primitives of the tree of every seed from 1 up to a bound, and the
// seeds the benchmark takes: counting up, the first ten of each group.
//   tilvera-seed-scan [LAST_SEED]   (default 200)

#include <cstdio>
#include <cstdlib>
#include <map>
#include <vector>

#include "BenchSeeds.h"
#include "PrimitiveStream.h"
#include "TreeRigs.h"

int main(int argc, char** argv) {
  using namespace tilvera::bench;
  const long last = argc > 1 ? std::atol(argv[1]) : 200;
  CountingSurface counter;
  GeneratorRig rig(counter);
  std::map<LineGroup, std::vector<long>> chosen;
  for (long seed = 1; seed <= last; ++seed) {
    counter.primitives = 0;
    rig.tree(static_cast<std::uint64_t>(seed));
    std::printf("seed %ld: %ld lines\n", seed, counter.primitives);
    auto& group = chosen[lineGroupOf(counter.primitives)];
    if (group.size() < seedsPerGroup) group.push_back(seed);
  }
  for (const auto& [group, seeds] : chosen) {
    std::printf("%s:", describe(group));
    for (long seed : seeds) std::printf(" %ld", seed);
    std::printf("\n");
  }
}
