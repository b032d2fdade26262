#pragma once

namespace tilvera {

// A width and height in whole pixels, or in the window system's logical units.
struct Extent {
  int width;
  int height;
};

// A rectangle in the renderer's output pixels.
struct PixelRectangle {
  int x;
  int y;
  int width;
  int height;
};

// Where the image goes in the renderer's output: always at the top left, each
// pixel of the image becoming a block of drawable / window output pixels, the
// display's density. The window's own size plays no part beyond that ratio: a
// larger window shows background to the right and below, a smaller one cuts
// the image off there, and neither stretches it.
//
// `window` is in the window system's logical units, `drawable` in the
// renderer's output pixels. Without a usable size (a minimized window can
// report none) the image is placed one to one.
PixelRectangle imagePlacement(Extent image, Extent window, Extent drawable);

}  // namespace tilvera
