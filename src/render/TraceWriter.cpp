#include "render/TraceWriter.h"

#include <cinttypes>

namespace tilvera {

// Write errors surface when the stream is flushed and closed, where they are checked.

void TraceWriter::tree(std::uint64_t number) {
  std::fprintf(stream_, "tree %" PRIu64 "\n", number);
}

void TraceWriter::uniform(float u) {
  std::fprintf(stream_, "u %.9g\n", static_cast<double>(u));
}

void TraceWriter::clear() {
  std::fputs("clear\n", stream_);
}

void TraceWriter::line(float x1, float y1, float x2, float y2, Colour colour) {
  std::fprintf(stream_, "line %.9g %.9g %.9g %.9g %" PRIu32 "\n", static_cast<double>(x1),
               static_cast<double>(y1), static_cast<double>(x2), static_cast<double>(y2), colour);
}

void TraceWriter::circle(float cx, float cy, float r, Colour colour) {
  std::fprintf(stream_, "circle %.9g %.9g %.9g %" PRIu32 "\n", static_cast<double>(cx),
               static_cast<double>(cy), static_cast<double>(r), colour);
}

void TraceWriter::point(float x, float y, Colour colour) {
  std::fprintf(stream_, "point %.9g %.9g %" PRIu32 "\n", static_cast<double>(x),
               static_cast<double>(y), colour);
}

void TraceWriter::text(float x, float y, std::string_view text) {
  std::fprintf(stream_, "text %.9g %.9g %.*s\n", static_cast<double>(x), static_cast<double>(y),
               static_cast<int>(text.size()), text.data());
}

void TraceWriter::poll() {
  std::fputs("poll\n", stream_);
}

}  // namespace tilvera
