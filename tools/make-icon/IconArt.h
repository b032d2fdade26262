#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Image.h"

namespace tilvera::icon {

// One pixel of the icon, not premultiplied.
struct Rgba {
  std::uint8_t red = 0, green = 0, blue = 0, alpha = 0;
};

// A square picture, row by row.
struct IconPicture {
  int size = 0;
  std::vector<Rgba> pixels;

  const Rgba& at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(size) +
                  static_cast<std::size_t>(x)];
  }
};

// The white disc behind the tree, in pixel-edge coordinates: pixel (x, y)
// covers [x, x + 1) x [y, y + 1).
struct Disc {
  double centreX = 0, centreY = 0, radius = 0;

  bool holdsCentreOf(int x, int y) const;
};

// The disc is the bounding box of the white pixels: the tree covers parts of
// it but never all four of its extremes.
std::optional<Disc> findDisc(const Image& render);

// Returns the banner's ink, anti-aliased over white or over the background,
// to what lies beneath it: at icon sizes text is only a smudge.
void eraseText(Image& render, const Disc& disc);

// A square around the disc, `size` pixels wide, box-filtered down from the
// render. The background around the disc becomes transparent; whatever of the
// tree reaches beyond the disc stays.
IconPicture drawIcon(const Image& render, const Disc& disc, int size);

}  // namespace tilvera::icon
