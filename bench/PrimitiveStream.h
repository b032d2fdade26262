#pragma once

#include <string_view>
#include <vector>

#include "platform/DrawingSurface.h"

namespace tilvera::bench {

// One one-pixel primitive of a tree as the generator handed it over.
struct Primitive {
  enum class Kind : unsigned char { line, point };
  Kind kind;
  float x1, y1, x2, y2;  // a point uses x1, y1
  Colour colour;
};

using PrimitiveStream = std::vector<Primitive>;

// Keeps a tree's lines and its point, in order. The canvas under them (clear,
// disc, banner) is left out: it costs the same for every tree and is not made
// of one-pixel primitives.
class StreamRecorder final : public DrawingSurface {
 public:
  explicit StreamRecorder(PrimitiveStream& stream) : stream_(stream) {}

  void clearSurface() override { position_ = {}; }
  void drawLine(float x1, float y1, float x2, float y2, Colour colour) override {
    stream_.push_back({Primitive::Kind::line, x1, y1, x2, y2, colour});
  }
  void drawCircle(float, float, float, Colour) override {}
  void plotPoint(float x, float y, Colour colour) override {
    stream_.push_back({Primitive::Kind::point, x, y, x, y, colour});
    position_ = {x, y};
  }
  void printLine(std::string_view) override { position_ = {0, position_.y}; }
  UnitPoint textPosition() const override { return position_; }

 private:
  PrimitiveStream& stream_;
  UnitPoint position_;
};

// Counts what a tree draws and draws nothing: the generator's own cost.
class CountingSurface final : public DrawingSurface {
 public:
  void clearSurface() override {}
  void drawLine(float, float, float, float, Colour) override { ++primitives; }
  void drawCircle(float, float, float, Colour) override {}
  void plotPoint(float, float, Colour) override { ++primitives; }
  void printLine(std::string_view) override {}
  UnitPoint textPosition() const override { return {}; }

  long primitives = 0;
};

// Hands the stream to a surface, as the generator would.
void replay(const PrimitiveStream& stream, DrawingSurface& surface);

}  // namespace tilvera::bench
