#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "platform/Colour.h"

namespace tilvera {

// Writes the primitive trace, version 1: one record a line, fields separated by
// one blank, reals as the float handed over in "%.9g" (enough digits to read
// back the same float), colours in decimal. Writes into a stream it does not
// own; formatting into the stream's buffer allocates nothing per record.
class TraceWriter {
 public:
  explicit TraceWriter(std::FILE* stream) : stream_(stream) {}

  void tree(std::uint64_t number);
  void uniform(float u);
  void clear();
  void line(float x1, float y1, float x2, float y2, Colour colour);
  void circle(float cx, float cy, float r, Colour colour);
  void point(float x, float y, Colour colour);
  void text(float x, float y, std::string_view text);
  void poll();

  // Whether a write has failed; what failed is reported when the stream is finished.
  bool failed() const { return std::ferror(stream_) != 0; }

 private:
  std::FILE* stream_;
};

}  // namespace tilvera
