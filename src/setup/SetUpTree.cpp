#include "setup/SetUpTree.h"

#include <cmath>
#include <cstdint>

#include "growth/BranchQueue.h"
#include "platform/Rounding.h"

namespace tilvera {

namespace {

// The whole tree, trunk top to last tip, is scaled to this many reference heights.
constexpr double heightMultiple = 2.7;
// The series runs four terms past the last level: the base term itself and three
// beyond the last level, none of which is drawn.
constexpr std::int16_t extraTerms = 4;

// The first term S of the geometric series S, S r, S r^2, ... whose first
// levelCount + 4 terms add up to 2.7 reference heights.
double firstTermOfSeries(const GeneratorState& g) {
  const auto termCount = static_cast<std::int16_t>(g.levelCount + extraTerms);
  const double total = heightMultiple * g.referenceHeight;
  // A branchFactor of exactly 1 (every draw up to 2^-24) makes the closed form
  // 0 / 0; its NaN would spread into every length and end point of the tree.
  // With a ratio of 1 all terms are equal, which is also the closed form's limit.
  if (g.lengthRatio == 1.0f) return total / termCount;
  const float ratioLessOne = g.lengthRatio - 1.0f;  // exact: lengthRatio lies in [0.5, 1]
  return total * ratioLessOne / (std::pow(static_cast<double>(g.lengthRatio), termCount) - 1.0);
}

}  // namespace

void placeTree(GeneratorState& g) {
  // Real divisions throughout: 479 / 4 is 119.75, so the top lands on 349, and
  // 639 / 2 is 319.5, which rounds to the even 320 right under the top.
  g.endX = roundHalfEven<std::int16_t>(g.screenWidth / 2.0);
  g.endY = roundHalfEven<std::int16_t>(g.maxY - g.screenHeight / 4.0);
  g.endAngle = 90;
  g.startX = roundHalfEven<std::int16_t>(g.maxX / 2.0);
  g.startY = g.maxY;
  g.referenceHeight = g.screenHeight;
}

void setUpTree(GeneratorState& g) {
  placeTree(g);
  g.levelCount = roundHalfEven<std::int16_t>(25.0 / g.branchCount);  // 2 branches: 12.5 -> 12
  g.lengthRatio = 1.0f / g.branchFactor;
  resetQueue(g);  // after placeTree: it queues the trunk's top
  g.randomBase = roundHalfEven<std::int16_t>(1 - g.randomness);  // 0.5 -> 0
  g.segmentLength = firstTermOfSeries(g);
  g.segmentWidth = g.trunkWidth;
}

}  // namespace tilvera
