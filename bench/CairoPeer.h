#pragma once

#include "PrimitiveStream.h"
#include "platform/Image.h"

struct _cairo;
struct _cairo_surface;

namespace tilvera::bench {

// The peer: Cairo drawing the same stream on an image surface over the same
// pixels, aliased, with lines one pixel wide, mapped from units to pixels as
// our raster maps them.
class CairoPeer {
 public:
  explicit CairoPeer(Image& image);
  ~CairoPeer();
  CairoPeer(const CairoPeer&) = delete;
  CairoPeer& operator=(const CairoPeer&) = delete;

  void draw(const PrimitiveStream& stream);

 private:
  _cairo_surface* surface_;
  _cairo* context_;
};

}  // namespace tilvera::bench
