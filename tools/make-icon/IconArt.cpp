#include "make-icon/IconArt.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Rounding.h"
#include "platform/WindowColours.h"

namespace tilvera::icon {

namespace {

// How much of the icon's width the disc takes: a little air around it, as
// round icons on a desktop usually have.
constexpr double discShare = 0.92;

unsigned channel(Colour c, int which) {
  return which == 0 ? redOf(c) : which == 1 ? greenOf(c) : blueOf(c);
}

// The text is anti-aliased: each ink pixel is the text colour laid over what
// lies beneath at some coverage. Green differs most between the text colour
// and either ground, so it gives the coverage; the other two channels must
// then agree. One step of slack keeps this independent of how the mix rounds.
bool isInkOver(Colour pixel, Colour under) {
  const double span = double(greenOf(under)) - double(greenOf(textColor));
  const double coverage = (double(greenOf(under)) - double(greenOf(pixel))) / span;
  if (coverage <= 0 || coverage > 1.01) return false;
  for (int which = 0; which < 3; ++which) {
    const double ground = channel(under, which), ink = channel(textColor, which);
    const double expected = ground + (ink - ground) * coverage;
    if (std::abs(expected - channel(pixel, which)) > 1.5) return false;
  }
  return true;
}

bool isOpaque(const Image& render, const Disc& disc, int x, int y) {
  const Colour c = render.pixel(x, y);
  if (c == backgroundColor) return false;
  // The lone white point beside the banner lies off the disc.
  return c != fillColor || disc.holdsCentreOf(x, y);
}

// Sums of one icon pixel's footprint on the render, weighted by how much of
// each render pixel the footprint covers.
struct Footprint {
  double area = 0, opaque = 0, red = 0, green = 0, blue = 0;

  void add(const Image& render, const Disc& disc, int x, int y, double weight) {
    area += weight;
    if (!render.contains(x, y) || !isOpaque(render, disc, x, y)) return;
    const Colour c = render.pixel(x, y);
    opaque += weight;
    red += weight * redOf(c);
    green += weight * greenOf(c);
    blue += weight * blueOf(c);
  }

  Rgba average() const {
    if (opaque == 0) return {};
    const auto level = [](double v) {
      return static_cast<std::uint8_t>(std::clamp(roundHalfEven<int>(v), 0, 255));
    };
    return {level(red / opaque), level(green / opaque), level(blue / opaque),
            level(255 * opaque / area)};
  }
};

// The render pixels that [from, to) touches, with the length of each overlap.
template <typename Visit>
void overlaps(double from, double to, Visit visit) {
  const int first = static_cast<int>(std::floor(from));
  const int last = static_cast<int>(std::ceil(to)) - 1;
  for (int p = first; p <= last; ++p) {
    const double overlap = std::min<double>(p + 1, to) - std::max<double>(p, from);
    if (overlap > 0) visit(p, overlap);
  }
}

}  // namespace

bool Disc::holdsCentreOf(int x, int y) const {
  const double dx = x + 0.5 - centreX, dy = y + 0.5 - centreY;
  return dx * dx + dy * dy <= radius * radius;
}

std::optional<Disc> findDisc(const Image& render) {
  int left = render.width(), right = -1, top = render.height(), bottom = -1;
  for (int y = 0; y < render.height(); ++y)
    for (int x = 0; x < render.width(); ++x)
      if (render.pixel(x, y) == fillColor) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  if (right < 0) return std::nullopt;
  const int width = right + 1 - left, height = bottom + 1 - top;
  return Disc{(left + right + 1) / 2.0, (top + bottom + 1) / 2.0, std::max(width, height) / 2.0};
}

void eraseText(Image& render, const Disc& disc) {
  for (int y = 0; y < render.height(); ++y)
    for (int x = 0; x < render.width(); ++x) {
      const Colour c = render.pixel(x, y);
      // Full ink fits either ground; the disc's outline decides which it hid.
      if (c == textColor)
        render.setPixel(x, y, disc.holdsCentreOf(x, y) ? fillColor : backgroundColor);
      else if (isInkOver(c, fillColor))
        render.setPixel(x, y, fillColor);
      else if (isInkOver(c, backgroundColor))
        render.setPixel(x, y, backgroundColor);
    }
}

IconPicture drawIcon(const Image& render, const Disc& disc, int size) {
  const double side = 2 * disc.radius / discShare;
  const double left = disc.centreX - side / 2, top = disc.centreY - side / 2;
  const double step = side / size;
  IconPicture icon{size, std::vector<Rgba>(static_cast<std::size_t>(size) * size)};
  for (int row = 0; row < size; ++row)
    for (int column = 0; column < size; ++column) {
      Footprint footprint;
      const double x0 = left + column * step, y0 = top + row * step;
      overlaps(y0, y0 + step, [&](int y, double height) {
        overlaps(x0, x0 + step,
                 [&](int x, double width) { footprint.add(render, disc, x, y, width * height); });
      });
      icon.pixels[static_cast<std::size_t>(row) * size + column] = footprint.average();
    }
  return icon;
}

}  // namespace tilvera::icon
