#include "growth/Segment.h"

#include <cmath>
#include <cstdint>

#include "growth/ThickSegment.h"
#include "platform/Rounding.h"

namespace tilvera {

namespace {

// The last child of a fork always turns by 0.4 of the fork's share, the others
// spread unevenly clockwise of it; childIndex / branchCount is a real division.
double forkFactor(const GeneratorState& g) {
  return static_cast<double>(g.childIndex) / g.branchCount - 0.6;
}

bool onUsableArea(const GeneratorState& g) {
  return g.endX >= g.minX && g.endX <= g.maxX && g.endY >= g.minY && g.endY <= g.maxY;
}

}  // namespace

void stepWidth(GeneratorState& g) {
  const float width = g.segmentWidth;
  g.halfWidthX = width * 0.5;
  g.halfWidthY = g.halfWidthX * g.aspect;
  // Half the new width is where these segments end: the next level starts
  // exactly as wide as this one ends.
  g.segmentWidth = width / g.widthFactor;
}

void drawTrunk(GeneratorState& g, DrawingSurface& surface) {
  drawThickSegment(g, surface, g.trunkColor, trunkEdges);
}

void drawBranch(GeneratorState& g, RandomSource& random, DrawingSurface& surface) {
  const double u1 = random.uniform();
  g.branchLength = (g.randomness * u1 + g.randomBase) * g.segmentLength;

  const double u2 = random.uniform();
  g.endAngle = g.startAngle + g.spread * (u2 * g.randomness + g.randomBase) * 180 * forkFactor(g);

  // Counter-clockwise on the surface, whose y grows downwards.
  const double theta = g.endAngle * g.degToRad;
  const double dx = g.branchLength * std::cos(theta);
  const double dy = -g.branchLength * std::sin(theta) * g.aspect;
  g.endX = roundHalfEven<std::int16_t>(g.startX + dx);
  g.endY = roundHalfEven<std::int16_t>(g.startY + dy);

  // Off the area the end point is still kept: its children may come back onto it.
  if (!onUsableArea(g)) return;
  drawThickSegment(g, surface, g.branchColor, branchEdges);
}

}  // namespace tilvera
