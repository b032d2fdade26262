#include "platform/ImageSurface.h"

#include <cmath>

#include "platform/PixelDisc.h"
#include "platform/PixelLine.h"
#include "platform/Units.h"
#include "platform/WindowColours.h"

namespace tilvera {

namespace {

// Text placed this far off the image shows nothing; the bound keeps the pixel
// index inside int.
constexpr double textReach = 1e6;

bool textPlaceable(double pixelCoordinate) {
  return std::fabs(pixelCoordinate) <= textReach;
}

}  // namespace

ImageSurface::ImageSurface(Image& image, const Font* font) : image_(image), font_(font) {}

void ImageSurface::clearSurface() {
  image_.fill(backgroundColor);
  textPosition_ = {};
}

void ImageSurface::drawLine(float x1, float y1, float x2, float y2, Colour colour) {
  paintLine(image_, pixelX(x1), pixelY(y1), pixelX(x2), pixelY(y2), colour);
}

void ImageSurface::drawCircle(float cx, float cy, float r, Colour colour) {
  // Round on the screen: the same radius in pixels both ways.
  paintDisc(image_, pixelX(cx), pixelY(cy), pixelX(r), colour, fillColor);
}

void ImageSurface::plotPoint(float x, float y, Colour colour) {
  const double px = pixelX(x), py = pixelY(y);
  paintLine(image_, px, py, px, py, colour);
  textPosition_ = {x, y};
}

void ImageSurface::printLine(std::string_view text) {
  const double left = pixelX(textPosition_.x), top = pixelY(textPosition_.y);
  int lineHeight = nominalLineHeightPixels;
  if (font_) {
    lineHeight = font_->lineHeightPixels();
    if (textPlaceable(left) && textPlaceable(top))
      font_->drawText(image_, pixelIndex(left), pixelIndex(top), text, textColor);
  }
  textPosition_ = {0.0f, static_cast<float>(textPosition_.y + unitsDown(lineHeight))};
}

}  // namespace tilvera
