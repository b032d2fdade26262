#include "growth/GrowLevels.h"

#include "growth/BranchQueue.h"
#include "growth/Segment.h"
#include "platform/Rounding.h"
#include "shell/Keyboard.h"

namespace tilvera {

namespace {

// 25 * r is a single-precision product; the level's share is added in double.
unsigned colourComponent(float r, double levelShare) {
  const float randomShare = 25.0f * r;
  return roundHalfEven<unsigned>(static_cast<double>(randomShare) + 200 * levelShare);
}

// Purple near the trunk, green at the outermost level; three fresh uniforms per fork.
void drawNodeColour(GeneratorState& g, RandomSource& random) {
  const float r1 = random.uniform();
  const float r2 = random.uniform();
  const float r3 = random.uniform();
  const double fraction = g.levelFraction;
  g.branchColor = rgb(colourComponent(r1, 1 - fraction), colourComponent(r2, fraction),
                      colourComponent(r3, 1 - fraction));
}

// One fork: the node's colour, its tip, then every child in fork order.
void growNode(GeneratorState& g, GeneratorPorts& ports, bool queueChildren) {
  drawNodeColour(g, ports.random);
  fetchBranch(g);
  const std::int16_t branchCount = g.branchCount;
  for (g.childIndex = 1; g.childIndex <= branchCount; ++g.childIndex) {
    drawBranch(g, ports.random, ports.surface);
    // Queued whether drawn or not: a tip off the usable area still forks.
    if (queueChildren) pushBranch(g);
  }
}

}  // namespace

void growLevels(GeneratorState& g, GeneratorPorts& ports) {
  const std::int16_t levelCount = g.levelCount;
  for (g.level = 1; g.level <= levelCount; ++g.level) {
    g.levelFraction = static_cast<double>(g.level) / levelCount;
    g.segmentLength = g.segmentLength / static_cast<double>(g.branchFactor);
    // Exactly 1 still draws; below it the tree ends here, without a poll.
    if (g.segmentLength < 1) return;
    stepWidth(g);

    const bool queueChildren = g.level < levelCount;  // the last level queues nothing
    const std::int16_t nodesInLevel = g.nodesInLevel;
    for (g.nodeIndex = 1; g.nodeIndex <= nodesInLevel; ++g.nodeIndex)
      growNode(g, ports, queueChildren);

    advanceLevel(g);
    pollKeyboard(ports.events);
  }
}

}  // namespace tilvera
