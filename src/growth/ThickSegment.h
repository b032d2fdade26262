#pragma once

#include "platform/Colour.h"
#include "platform/DrawingSurface.h"
#include "shell/GeneratorState.h"

namespace tilvera {

// Which edge lines a thick segment gets, drawn in this order when present.
struct SegmentEdges {
  bool left = false;
  bool right = false;
  bool upper = false;
  bool lower = false;
};

inline constexpr SegmentEdges trunkEdges{true, true, true, true};
inline constexpr SegmentEdges branchEdges{true, false, true, false};

// A tapered stroke from (startX, startY) to (endX, endY): a horizontal and a
// vertical fan of lines in `fill`, halfWidthX and halfWidthY wide at the start
// and narrowed by widthFactor at the end, then the chosen edges in edgeColor.
void drawThickSegment(const GeneratorState& g, DrawingSurface& surface, Colour fill,
                      SegmentEdges edges);

}  // namespace tilvera
