#pragma once

#include <cstdint>
#include <vector>

#include "growth/Segment.h"
#include "setup/SetUpTree.h"
#include "shell/GeneratorPorts.h"
#include "shell/GeneratorState.h"
#include "shell/Module1.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedPump.h"
#include "support/ScriptedRandom.h"

namespace tilvera::testing {

// What the generator state held when growLevels handed over to the window system.
struct PollSnapshot {
  std::int16_t level;
  double segmentLength;
  Colour branchColor;
  std::int16_t nodesInLevel;
  std::size_t uniformsDrawn;
};

// A scripted pump that also takes a snapshot of the state at every poll.
class SnapshotPump : public ScriptedPump {
 public:
  SnapshotPump(const GeneratorState& g, const ScriptedRandom& random) : g_(g), random_(random) {}

  void processPendingEvents() override {
    snapshots.push_back(
        {g_.level, g_.segmentLength, g_.branchColor, g_.nodesInLevel, random_.drawn});
    ScriptedPump::processPendingEvents();
  }

  std::vector<PollSnapshot> snapshots;

 private:
  const GeneratorState& g_;
  const ScriptedRandom& random_;
};

// One generator with fakes on every port, and a tree of a chosen shape set up
// as the cycle would leave it right before growLevels.
struct TreeRig {
  struct Shape {
    std::int16_t branchCount = 1;
    float branchFactor = 1.5f;
    float widthFactor = 2.0f;
    float trunkWidth = 10.0f;
    double spread = 0.75;
    std::int16_t levelCount = 0;  // 0: as the set-up derives it
    double segmentLength = 0;     // 0: as the set-up derives it
  };

  GeneratorState g;
  RecordingSurface surface;
  ScriptedRandom random;
  SteppingTestClock clock{1000};
  SnapshotPump events{g, random};
  GeneratorPorts ports{surface, random, clock, events};

  void setUp(const Shape& shape) {
    startUp(g, ports);
    g.randomness = 0.5;
    g.branchFactor = shape.branchFactor;
    g.widthFactor = shape.widthFactor;
    g.trunkWidth = shape.trunkWidth;
    g.branchCount = shape.branchCount;
    g.spread = shape.spread;
    setUpTree(g);
    if (shape.levelCount != 0) g.levelCount = shape.levelCount;
    if (shape.segmentLength != 0) g.segmentLength = shape.segmentLength;
    stepWidth(g);  // the trunk's
    surface.calls.clear();
    random.seeds.clear();
  }
};

}  // namespace tilvera::testing
