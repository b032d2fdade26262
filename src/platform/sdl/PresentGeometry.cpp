#include "platform/sdl/PresentGeometry.h"

#include "platform/Rounding.h"

namespace tilvera {

namespace {

// One axis: the image's length times drawable / window. Each axis takes its
// own ratio because the window system rounds the drawable to whole pixels per
// axis: with one common factor, an image in a window of its own size could
// miss the drawable's last row or column by a pixel and leave a seam of
// background there. Uneven scales (1.25, 1.5) give blocks of uneven width;
// the rounding decides which, ties to the even side.
int scaledLength(int imageLength, int windowLength, int drawableLength) {
  if (windowLength <= 0 || drawableLength <= 0) return imageLength;
  return roundHalfEven<int>(static_cast<double>(imageLength) * drawableLength / windowLength);
}

}  // namespace

PixelRectangle imagePlacement(Extent image, Extent window, Extent drawable) {
  return {0, 0, scaledLength(image.width, window.width, drawable.width),
          scaledLength(image.height, window.height, drawable.height)};
}

}  // namespace tilvera
