#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/PcgRandom.h"
#include "render/FixedSeedClock.h"
#include "render/HeadlessPlatform.h"
#include "render/HeadlessPump.h"
#include "render/RenderOptions.h"
#include "shell/Module1.h"

namespace tilvera::bench {

// The generator drawing on a given surface, seeded per tree as tilvera-render
// seeds it: one start-up, then any number of trees.
class GeneratorRig {
 public:
  explicit GeneratorRig(DrawingSurface& surface) : ports_{surface, random_, clock_, pump_} {
    startUp(state_, ports_);
  }
  void tree(std::uint64_t seed) {
    clock_.set(seed);
    runTree(state_, ports_);
  }

 private:
  PcgRandom random_;
  FixedSeedClock clock_;
  HeadlessPump pump_;
  GeneratorPorts ports_;
  GeneratorState state_;
};

// tilvera-render's own platform, font and all, without PNG or trace.
class WholeTreeRig {
 public:
  WholeTreeRig() : platform_(seededOptions(), nullptr, nullptr, stderr), ports_(platform_.ports()) {
    startUp(state_, ports_);
  }
  void tree(std::uint64_t seed) {
    platform_.seedClock().set(seed);
    runTree(state_, ports_);
  }
  const Image& image() const { return platform_.image(); }

 private:
  static RenderOptions seededOptions() {
    RenderOptions options;
    options.seed = 0;
    return options;
  }
  HeadlessPlatform platform_;
  GeneratorPorts ports_;
  GeneratorState state_;
};

}  // namespace tilvera::bench
