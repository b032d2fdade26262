#pragma once

#include "Colour.h"
#include "Image.h"

namespace tilvera {

// Paints the disc of the pixels whose centres lie within `radius` of the centre
// (pixel space, pixel centres on the integers): its boundary pixels, those with
// a side neighbour outside the disc, in `outline`, the rest in `fill`. Only the
// part on the image is painted, and the image border never counts as boundary.
// A non-finite centre, a negative radius or NaN draws nothing.
void paintDisc(Image& image, double centreX, double centreY, double radius, Colour outline,
               Colour fill);

}  // namespace tilvera
