#include "platform/Image.h"

#include <algorithm>

#include "platform/PixelFill.h"

namespace tilvera {

namespace {
int atLeastZero(int n) {
  return std::max(n, 0);
}
}  // namespace

Image::Image(int width, int height, Colour fill)
    : width_(atLeastZero(width)),
      height_(atLeastZero(height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void Image::fill(Colour c) {
  fillPixels(pixels_.data(), pixels_.size(), c);
}

}  // namespace tilvera
