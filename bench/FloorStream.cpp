#include "FloorStream.h"

#include <algorithm>
#include <cmath>

#include "platform/ImageSurface.h"
#include "platform/Units.h"

namespace tilvera::bench {

namespace {

struct Box {
  int left, top, right, bottom;
};

// A Bresenham line lies within the box of its end pixels; a pixel either side
// covers any doubt about the rounding.
Box boxOf(const Primitive& p, const Image& image) {
  const auto index = [](double pixel, int size) {
    return static_cast<int>(std::clamp(std::floor(pixel), -1.0, static_cast<double>(size)));
  };
  const double x1 = pixelX(p.x1), x2 = pixelX(p.x2), y1 = pixelY(p.y1), y2 = pixelY(p.y2);
  return {std::max(index(std::min(x1, x2), image.width()) - 1, 0),
          std::max(index(std::min(y1, y2), image.height()) - 1, 0),
          std::min(index(std::max(x1, x2), image.width()) + 2, image.width() - 1),
          std::min(index(std::max(y1, y2), image.height()) + 2, image.height() - 1)};
}

struct Painted {
  int x, y;
};

std::vector<Painted> takePainted(Image& image, const Box& box) {
  std::vector<Painted> painted;
  for (int y = box.top; y <= box.bottom; ++y)
    for (int x = box.left; x <= box.right; ++x)
      if (image.pixel(x, y) != 0) {
        painted.push_back({x, y});
        image.setPixel(x, y, 0);
      }
  return painted;
}

// The raster walks a line that lies on the image from its first end, any other
// from the end with the lower major coordinate.
void orderAsWalked(std::vector<Painted>& painted, const Primitive& p, const Image& image) {
  if (painted.empty()) return;
  const auto [minX, maxX] = std::minmax_element(painted.begin(), painted.end(),
                                                [](Painted a, Painted b) { return a.x < b.x; });
  const auto [minY, maxY] = std::minmax_element(painted.begin(), painted.end(),
                                                [](Painted a, Painted b) { return a.y < b.y; });
  const bool xMajor = maxX->x - minX->x >= maxY->y - minY->y;
  const auto major = [xMajor](Painted a) { return xMajor ? a.x : a.y; };
  std::sort(painted.begin(), painted.end(),
            [&](Painted a, Painted b) { return major(a) < major(b); });
  const Painted first{pixelIndex(pixelX(p.x1)), pixelIndex(pixelY(p.y1))};
  const Painted second{pixelIndex(pixelX(p.x2)), pixelIndex(pixelY(p.y2))};
  if (image.contains(first.x, first.y) && image.contains(second.x, second.y) &&
      major(first) > major(second))
    std::reverse(painted.begin(), painted.end());
}

}  // namespace

FloorStream recordFloor(const PrimitiveStream& stream, int width, int height) {
  constexpr Colour marker = 1;
  Image blank(width, height);
  ImageSurface surface(blank, nullptr);
  FloorStream floor;
  for (const Primitive& p : stream) {
    if (p.kind == Primitive::Kind::line)
      surface.drawLine(p.x1, p.y1, p.x2, p.y2, marker);
    else
      surface.plotPoint(p.x1, p.y1, marker);
    std::vector<Painted> painted = takePainted(blank, boxOf(p, blank));
    orderAsWalked(painted, p, blank);
    floor.runs.push_back({static_cast<std::uint32_t>(painted.size()), p.colour});
    for (const Painted& at : painted)
      floor.offsets.push_back(static_cast<std::uint32_t>(at.y * width + at.x));
  }
  return floor;
}

void storeFloor(const FloorStream& floor, Colour* pixels) {
  const std::uint32_t* offset = floor.offsets.data();
  for (const FloorStream::Run& run : floor.runs) {
    const Colour colour = run.colour;
    for (std::uint32_t i = 0; i < run.pixels; ++i) pixels[*offset++] = colour;
  }
}

}  // namespace tilvera::bench
