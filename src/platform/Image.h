#pragma once

#include <vector>

#include "Colour.h"

namespace tilvera {

// The client area in pixels: 9550 x 6580 twips at 15 twips a pixel (96 dpi),
// 636.67 x 438.67 rounded to whole pixels.
inline constexpr int imageWidth = 637, imageHeight = 439;

// A fixed-size picture whose pixels hold Colour values (0x00BBGGRR) row by row
// without padding, so that a window can upload them as they stand.
class Image {
 public:
  Image(int width, int height, Colour fill = 0);

  int width() const { return width_; }
  int height() const { return height_; }

  Colour pixel(int x, int y) const { return pixels_[index(x, y)]; }
  // The last defence against stray writes: a point off the image is ignored.
  void setPixel(int x, int y, Colour c) {
    if (contains(x, y)) pixels_[index(x, y)] = c;
  }
  bool contains(int x, int y) const {
    return static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
           static_cast<unsigned>(y) < static_cast<unsigned>(height_);
  }
  void fill(Colour c);

  Colour* row(int y) { return pixels_.data() + index(0, y); }
  const Colour* row(int y) const { return pixels_.data() + index(0, y); }
  Colour* data() { return pixels_.data(); }
  const Colour* data() const { return pixels_.data(); }

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

}  // namespace tilvera
