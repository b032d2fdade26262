#pragma once

#include "Colour.h"
#include "Image.h"

namespace tilvera {

// Paints the Bresenham line between the pixels nearest to two points given in
// pixel space (pixel centres on the integers), both end pixels included, and
// only the part of it that lies on the image. The pixels painted are exactly
// those an unclipped line on a larger image would paint there, as long as the
// end points lie within a few million pixels; segments reaching further are
// first cut down to that range. Non-finite end points draw nothing.
void paintLine(Image& image, double x1, double y1, double x2, double y2, Colour colour);

}  // namespace tilvera
