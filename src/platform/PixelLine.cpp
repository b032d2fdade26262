#include "platform/PixelLine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "platform/LineReach.h"
#include "platform/Rounding.h"

namespace tilvera {

namespace {

using Int = std::int64_t;

// End points further off the image than this are brought in along the segment
// before rounding. Within it, every product in the clipping arithmetic below
// stays far inside 64 bits.
constexpr double reach = 1 << 22;

Int floorDiv(Int n, Int d) {  // d > 0
  const Int q = n / d;
  return (n % d != 0 && n < 0) ? q - 1 : q;
}
Int ceilDiv(Int n, Int d) {  // d > 0
  const Int q = n / d;
  return (n % d != 0 && n > 0) ? q + 1 : q;
}

// A Bresenham line walked along its major axis from `major` to `major + length`
// (length >= 0), the minor coordinate moving by `minorSign` at every step where
// the error crosses over. With rise = |minor extent| <= length, the minor
// offset after i steps is floor((2 i rise + length) / (2 length)): the exact
// line rounded to the nearest pixel, ties moving on.
struct MajorWalk {
  Int major, minor;
  Int length, rise;
  int minorSign;
  int majorSize, minorSize;                 // the image along each axis
  std::ptrdiff_t majorStride, minorStride;  // pixel steps along each axis
};

// 1 or 0 rather than a bool: the four tests below are combined with `&`, all
// evaluated, so that a line's position costs no chain of branches.
unsigned inside(Int v, int size) {
  return static_cast<std::uint64_t>(v) < static_cast<std::uint64_t>(size);
}

// The first and last steps whose pixel lies on the image.
bool visibleSteps(const MajorWalk& w, Int& first, Int& last) {
  const Int minorEnd = w.minor + w.minorSign * w.rise;
  if (inside(w.major, w.majorSize) & inside(w.major + w.length, w.majorSize) &
      inside(w.minor, w.minorSize) & inside(minorEnd, w.minorSize)) {
    first = 0;  // the usual short line: no clipping arithmetic
    last = w.length;
    return true;
  }
  first = std::max<Int>(0, -w.major);
  last = std::min<Int>(w.length, w.majorSize - 1 - w.major);
  if (w.rise == 0) return first <= last && w.minor >= 0 && w.minor < w.minorSize;
  // The minor offset must stay between these bounds to be on the image.
  const Int low = w.minorSign > 0 ? -w.minor : w.minor - (w.minorSize - 1);
  const Int high = w.minorSign > 0 ? w.minorSize - 1 - w.minor : w.minor;
  const Int twoRise = 2 * w.rise, twoLength = 2 * w.length;
  first = std::max(first, ceilDiv(twoLength * low - w.length, twoRise));
  last = std::min(last, ceilDiv(twoLength * (high + 1) - w.length, twoRise) - 1);
  return first <= last;
}

// The error stays in [0, 2 length): past it, the minor coordinate moves on.
void walkSloped(Colour* pixel, Int count, std::ptrdiff_t majorStep, std::ptrdiff_t minorStep,
                Int error, Int twoRise, Int twoLength, Colour colour) {
  for (;;) {
    *pixel = colour;
    if (--count == 0) return;
    pixel += majorStep;
    error += twoRise;
    // Masks, not a branch: a line's steps follow no pattern a predictor could learn.
    const Int crossed = -static_cast<Int>(error >= twoLength);
    error -= twoLength & crossed;
    pixel += minorStep & crossed;
  }
}

void walkStraight(Colour* pixel, Int count, std::ptrdiff_t step, Colour colour) {
  for (;;) {
    *pixel = colour;
    if (--count == 0) return;
    pixel += step;
  }
}

void walk(Image& image, const MajorWalk& w, Colour colour) {
  Int first = 0, last = 0;
  if (!visibleSteps(w, first, last)) return;
  const Int count = last - first + 1;
  if (w.rise == 0) {
    Colour* pixel = image.data() + (w.major + first) * w.majorStride + w.minor * w.minorStride;
    walkStraight(pixel, count, w.majorStride, colour);
    return;
  }
  const Int twoRise = 2 * w.rise, twoLength = 2 * w.length;
  const Int numerator = first * twoRise + w.length;
  // A line that starts on the image needs no division to find its first pixel.
  const Int minorOffset = first == 0 ? 0 : floorDiv(numerator, twoLength);
  const Int major = w.major + first, minor = w.minor + w.minorSign * minorOffset;
  walkSloped(image.data() + major * w.majorStride + minor * w.minorStride, count, w.majorStride,
             w.minorSign * w.minorStride, numerator - minorOffset * twoLength, twoRise, twoLength,
             colour);
}

// All ones when the condition holds, else zero; with choose(), a selection the
// compiler cannot turn back into a branch.
Int maskOf(bool condition) {
  return -static_cast<Int>(condition);
}
Int choose(Int mask, Int ifSet, Int ifClear) {
  return (ifSet & mask) | (ifClear & ~mask);
}
Int negatedWhere(Int mask, Int value) {
  return (value ^ mask) - mask;
}

// The walk from the end with the lower major coordinate, so that a reversed
// line paints the same pixels. Masks rather than branches: the directions of a
// tree's lines follow no pattern a predictor could learn.
MajorWalk walkBetween(const Image& image, Int x1, Int y1, Int x2, Int y2) {
  const Int dx = x2 - x1, dy = y2 - y1;
  const Int xMajor = maskOf(std::abs(dx) >= std::abs(dy));
  const Int reversed = maskOf(choose(xMajor, dx, dy) < 0);
  const Int startX = choose(reversed, x2, x1), startY = choose(reversed, y2, y1);
  const Int minorDelta = negatedWhere(reversed, choose(xMajor, dy, dx));
  const Int width = image.width(), height = image.height();
  MajorWalk w;
  w.major = choose(xMajor, startX, startY);
  w.minor = choose(xMajor, startY, startX);
  w.length = negatedWhere(reversed, choose(xMajor, dx, dy));
  w.rise = std::abs(minorDelta);
  w.minorSign = minorDelta >= 0 ? 1 : -1;
  w.majorSize = static_cast<int>(choose(xMajor, width, height));
  w.minorSize = static_cast<int>(choose(xMajor, height, width));
  w.majorStride = choose(xMajor, 1, width);
  w.minorStride = choose(xMajor, width, 1);
  return w;
}

// The minor offset after i steps, floor((2 i rise + length) / (2 length)), is
// computed from a fixed-point reciprocal instead of an error term: with
// m = ceil(2^40 / (2 length)) the quotient is exact for every numerator N with
// N * (m * 2 length - 2^40) < 2^40, which holds for all steps of lines shorter
// than reciprocalLimit. The running product then advances by one addition a
// pixel, which leaves no chain of dependent steps for the processor to wait on.
constexpr int reciprocalShift = 40;
constexpr Int reciprocalLimit = 4096;

constexpr std::uint64_t reciprocalOf(Int twoLength) {
  return ((std::uint64_t{1} << reciprocalShift) + static_cast<std::uint64_t>(twoLength) - 1) /
         static_cast<std::uint64_t>(twoLength);
}

// The reciprocals of the short lines that make up most of a tree, to spare
// them a division.
constexpr int tabledLengths = 64;
constexpr auto shortReciprocals = [] {
  std::array<std::uint64_t, tabledLengths> table{};
  for (int length = 1; length < tabledLengths; ++length) table[length] = reciprocalOf(2 * length);
  return table;
}();

std::uint64_t reciprocalOfLength(Int length) {
  return length < tabledLengths ? shortReciprocals[length] : reciprocalOf(2 * length);
}

void walkFixedPoint(Colour* pixel, Int count, std::ptrdiff_t majorStep, std::ptrdiff_t minorStep,
                    std::uint64_t numerator, std::uint64_t increment, Colour colour) {
  for (;;) {
    pixel[static_cast<std::ptrdiff_t>(numerator >> reciprocalShift) * minorStep] = colour;
    if (--count == 0) return;
    pixel += majorStep;
    numerator += increment;
  }
}

// A line whose end pixels both lie on the image: every pixel between them does
// too, so it needs no clipping at all. It is walked from its first end. Walked
// from the end with the lower major coordinate, as walkBetween() walks, the
// minor offset after i steps is floor((2 i rise + length) / (2 length)), ties
// moving on; from the other end the same pixels have the offsets
// floor((2 i rise + length - 1) / (2 length)), ties held back. Selections are
// masks, not branches: a tree's lines point every way, in no order.
void walkOnImage(Image& image, Int x1, Int y1, Int x2, Int y2, Colour colour) {
  const Int width = image.width();
  const Int dx = x2 - x1, dy = y2 - y1;
  // A line of one or two pixels, as most lines of many trees are: its pixels
  // are its ends (one pixel painted twice when they coincide).
  if ((static_cast<std::uint64_t>(dx + 1) <= 2) & (static_cast<std::uint64_t>(dy + 1) <= 2)) {
    image.data()[y1 * width + x1] = colour;
    image.data()[y2 * width + x2] = colour;
    return;
  }
  const Int runX = std::abs(dx), runY = std::abs(dy);
  const Int xMajor = maskOf(runX >= runY);
  const Int stepX = (dx >> 63) | 1, stepY = negatedWhere(dy >> 63, width);
  // Of each pair, the one the mask does not choose is the other: a ^ b ^ chosen.
  const Int length = choose(xMajor, runX, runY), rise = runX ^ runY ^ length;
  const Int majorStep = choose(xMajor, stepX, stepY), minorStep = stepX ^ stepY ^ majorStep;
  const Int tiesHeldBack = static_cast<Int>(static_cast<std::uint64_t>(majorStep) >> 63);
  Colour* const start = image.data() + y1 * width + x1;
  if (length >= reciprocalLimit) {
    walkSloped(start, length + 1, majorStep, minorStep, length - tiesHeldBack, 2 * rise, 2 * length,
               colour);
    return;
  }
  const std::uint64_t m = reciprocalOfLength(length);
  walkFixedPoint(start, length + 1, majorStep, minorStep,
                 static_cast<std::uint64_t>(length - tiesHeldBack) * m,
                 static_cast<std::uint64_t>(2 * rise) * m, colour);
}

// Any other line: brought within reach of the image if need be, then clipped.
[[gnu::noinline]] void paintClippedLine(Image& image, double x1, double y1, double x2, double y2,
                                        Colour colour) {
  const int width = image.width(), height = image.height();
  PixelPoint a{x1, y1}, b{x2, y2};
  // NaN fails every comparison, so it takes the slow path and ends there.
  if (!(withinReach(a, width, height, reach) && withinReach(b, width, height, reach))) {
    if (!(std::isfinite(x1) && std::isfinite(y1) && std::isfinite(x2) && std::isfinite(y2))) return;
    if (!bringWithinReach(a, b, width, height, reach)) return;
  }
  walk(image,
       walkBetween(image, roundHalfEven<Int>(a.x), roundHalfEven<Int>(a.y), roundHalfEven<Int>(b.x),
                   roundHalfEven<Int>(b.y)),
       colour);
}

}  // namespace

void paintLine(Image& image, double x1, double y1, double x2, double y2, Colour colour) {
  // Strictly inside these bounds a coordinate rounds to a pixel of the image,
  // whichever way its ties go. Nearly every line of a tree lies there.
  const double left = -0.5, right = image.width() - 0.5;
  const double top = -0.5, bottom = image.height() - 0.5;
  if (x1 > left && x1 < right && x2 > left && x2 < right && y1 > top && y1 < bottom && y2 > top &&
      y2 < bottom) {
    walkOnImage(image, roundHalfEven<Int>(x1), roundHalfEven<Int>(y1), roundHalfEven<Int>(x2),
                roundHalfEven<Int>(y2), colour);
    return;
  }
  paintClippedLine(image, x1, y1, x2, y2, colour);
}

}  // namespace tilvera
