#pragma once

#include "platform/DrawingSurface.h"
#include "render/TraceWriter.h"

namespace tilvera {

// Hands every primitive on to the real surface and writes one trace record for it.
class TracingSurface : public DrawingSurface {
 public:
  TracingSurface(DrawingSurface& inner, TraceWriter& trace) : inner_(inner), trace_(trace) {}

  void clearSurface() override;
  void drawLine(float x1, float y1, float x2, float y2, Colour colour) override;
  void drawCircle(float cx, float cy, float r, Colour colour) override;
  void plotPoint(float x, float y, Colour colour) override;
  void printLine(std::string_view text) override;
  UnitPoint textPosition() const override { return inner_.textPosition(); }

 private:
  DrawingSurface& inner_;
  TraceWriter& trace_;
};

}  // namespace tilvera
