#include "platform/PixelDisc.h"

#include <algorithm>
#include <cmath>

#include "platform/PixelFill.h"

namespace tilvera {

namespace {

// A row's run of pixels in the disc; empty when left > right. Ends beyond the
// image are held just outside it, which keeps every comparison below valid.
struct Span {
  int left, right;
};

// Converts a whole-valued real, already brought within int range, to an index.
int wholeIndex(double whole) {
  return static_cast<int>(whole);
}

class Disc {
 public:
  Disc(const Image& image, double centreX, double centreY, double radius)
      : width_(image.width()),
        height_(image.height()),
        centreX_(centreX),
        centreY_(centreY),
        radiusSquared_(radius * radius),
        top_(clampedIndex(std::ceil(centreY - radius), height_)),
        bottom_(clampedIndex(std::floor(centreY + radius), height_)) {}

  int firstVisibleRow() const { return std::max(top_, 0); }
  int lastVisibleRow() const { return std::min(bottom_, height_ - 1); }

  Span row(int y) const {
    if (y < top_ || y > bottom_) return empty();
    const double dy = y - centreY_;
    const double halfWidth = std::sqrt(std::max(0.0, radiusSquared_ - dy * dy));
    return {clampedIndex(std::ceil(centreX_ - halfWidth), width_),
            clampedIndex(std::floor(centreX_ + halfWidth), width_)};
  }

 private:
  Span empty() const { return {width_ + 1, -2}; }
  static int clampedIndex(double whole, int size) {
    return wholeIndex(std::clamp(whole, -2.0, static_cast<double>(size) + 1));
  }

  int width_, height_;
  double centreX_, centreY_, radiusSquared_;
  int top_, bottom_;
};

void paintRun(Colour* row, int from, int to, int width, Colour colour) {
  from = std::max(from, 0);
  to = std::min(to, width - 1);
  if (from <= to) fillPixels(row + from, static_cast<std::size_t>(to - from + 1), colour);
}

}  // namespace

void paintDisc(Image& image, double centreX, double centreY, double radius, Colour outline,
               Colour fill) {
  if (!(std::isfinite(centreX) && std::isfinite(centreY)) || !(radius >= 0)) return;
  // A boundary this far out never comes near the image, and its square still fits a double.
  radius = std::min(radius, 1e150);
  const Disc disc(image, centreX, centreY, radius);
  const int width = image.width();
  for (int y = disc.firstVisibleRow(); y <= disc.lastVisibleRow(); ++y) {
    const Span here = disc.row(y);
    if (here.left > here.right) continue;
    const Span above = disc.row(y - 1), below = disc.row(y + 1);
    // A pixel is inside the outline when its four neighbours are in the disc.
    const int innerLeft = std::max({here.left + 1, above.left, below.left});
    const int innerRight = std::min({here.right - 1, above.right, below.right});
    Colour* pixels = image.row(y);
    if (innerLeft > innerRight) {
      paintRun(pixels, here.left, here.right, width, outline);
      continue;
    }
    paintRun(pixels, here.left, innerLeft - 1, width, outline);
    paintRun(pixels, innerLeft, innerRight, width, fill);
    paintRun(pixels, innerRight + 1, here.right, width, outline);
  }
}

}  // namespace tilvera
