#include "PrimitiveStream.h"

namespace tilvera::bench {

void replay(const PrimitiveStream& stream, DrawingSurface& surface) {
  for (const Primitive& p : stream) {
    if (p.kind == Primitive::Kind::line)
      surface.drawLine(p.x1, p.y1, p.x2, p.y2, p.colour);
    else
      surface.plotPoint(p.x1, p.y1, p.colour);
  }
}

}  // namespace tilvera::bench
