#pragma once

#include <string>
#include <vector>

#include "platform/DrawingSurface.h"

namespace tilvera::testing {

// Keeps every primitive call, in order, for tests that check what was drawn.
class RecordingSurface : public DrawingSurface {
 public:
  enum class Kind { clear, line, circle, point, text };
  struct Call {
    Kind kind;
    float a = 0, b = 0, c = 0, d = 0;  // line: x1 y1 x2 y2; circle: cx cy r; point, text: x y
    Colour colour = 0;
    std::string text{};
  };

  void clearSurface() override {
    calls.push_back({Kind::clear});
    position = {};
  }
  void drawLine(float x1, float y1, float x2, float y2, Colour colour) override {
    calls.push_back({Kind::line, x1, y1, x2, y2, colour});
  }
  void drawCircle(float cx, float cy, float r, Colour colour) override {
    calls.push_back({Kind::circle, cx, cy, r, 0, colour});
  }
  void plotPoint(float x, float y, Colour colour) override {
    calls.push_back({Kind::point, x, y, 0, 0, colour});
    position = {x, y};
  }
  void printLine(std::string_view text) override {
    calls.push_back({Kind::text, position.x, position.y, 0, 0, 0, std::string(text)});
    position = {0, position.y + 16};
  }
  UnitPoint textPosition() const override { return position; }

  std::vector<Call> ofKind(Kind kind) const {
    std::vector<Call> out;
    for (const Call& call : calls)
      if (call.kind == kind) out.push_back(call);
    return out;
  }

  std::vector<Call> calls;
  UnitPoint position;
};

}  // namespace tilvera::testing
