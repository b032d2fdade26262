#include "CairoPeer.h"

#include <cairo.h>

#include "platform/Units.h"

namespace tilvera::bench {

namespace {

// Cairo's pixel centres lie on the halves; ours on the integers.
double cairoX(float unitX) {
  return pixelX(unitX) + 0.5;
}
double cairoY(float unitY) {
  return pixelY(unitY) + 0.5;
}

void setColour(cairo_t* cr, Colour colour) {
  cairo_set_source_rgb(cr, redOf(colour) / 255.0, greenOf(colour) / 255.0, blueOf(colour) / 255.0);
}

}  // namespace

CairoPeer::CairoPeer(Image& image)
    : surface_(cairo_image_surface_create_for_data(
          reinterpret_cast<unsigned char*>(image.data()), CAIRO_FORMAT_RGB24, image.width(),
          image.height(), image.width() * static_cast<int>(sizeof(Colour)))),
      context_(cairo_create(surface_)) {
  cairo_set_antialias(context_, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_width(context_, 1.0);
}

CairoPeer::~CairoPeer() {
  cairo_destroy(context_);
  cairo_surface_destroy(surface_);
}

void CairoPeer::draw(const PrimitiveStream& stream) {
  cairo_t* cr = context_;
  for (const Primitive& p : stream) {
    setColour(cr, p.colour);
    if (p.kind == Primitive::Kind::line) {
      cairo_move_to(cr, cairoX(p.x1), cairoY(p.y1));
      cairo_line_to(cr, cairoX(p.x2), cairoY(p.y2));
      cairo_stroke(cr);
    } else {
      cairo_rectangle(cr, cairoX(p.x1) - 0.5, cairoY(p.y1) - 0.5, 1, 1);
      cairo_fill(cr);
    }
  }
  cairo_surface_flush(surface_);
}

}  // namespace tilvera::bench
