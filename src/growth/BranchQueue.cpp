#include "growth/BranchQueue.h"

#include <cstdint>

#include "platform/Rounding.h"

namespace tilvera {

namespace {

// Two rows stay empty between one level's block and the next.
constexpr std::int32_t blockGap = 3;

// Positions are sums that may pass the 16-bit range before they are reduced.
std::int32_t ringRow(std::int32_t position) {
  return position % queueCapacity;
}

}  // namespace

void resetQueue(GeneratorState& g) {
  g.readBase = 0;
  g.writeBase = 0;
  g.childIndex = 1;
  g.nodeIndex = 1;
  g.nodesInLevel = 1;
  pushBranch(g);  // the trunk's top, in row 0
  g.writeBase = g.lastPushRow + blockGap;
}

void pushBranch(GeneratorState& g) {
  // The fork's offset within the block is a 16-bit product.
  const auto forkOffset = static_cast<std::int16_t>(g.branchCount * (g.nodeIndex - 1));
  const std::int32_t row = ringRow(g.writeBase + g.childIndex + forkOffset - 1);
  // Column by column: the row's fourth cell is never touched.
  PendingBranch& tip = g.branchQueue[row];
  tip.x = g.endX;
  tip.y = g.endY;
  tip.angle = roundHalfEven<std::int16_t>(g.endAngle);
  g.lastPushRow = row;
}

void fetchBranch(GeneratorState& g) {
  const PendingBranch& node = g.branchQueue[ringRow(g.readBase + g.nodeIndex - 1)];
  g.startX = node.x;
  g.startY = node.y;
  g.startAngle = node.angle;
}

void advanceLevel(GeneratorState& g) {
  g.nodesInLevel = static_cast<std::int16_t>(g.branchCount * g.nodesInLevel);
  g.readBase = g.writeBase;
  g.writeBase = g.lastPushRow + blockGap;
}

}  // namespace tilvera
