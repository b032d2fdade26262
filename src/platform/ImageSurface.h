#pragma once

#include <string_view>

#include "DrawingSurface.h"
#include "Font.h"
#include "Image.h"

namespace tilvera {

// The drawing surface on a pixel image: units map to pixels by the fixed unit
// size of Units.h, and everything is clipped to the image.
class ImageSurface final : public DrawingSurface {
 public:
  // Without a font (null) text draws nothing but still moves to the next line.
  ImageSurface(Image& image, const Font* font);

  void clearSurface() override;
  void drawLine(float x1, float y1, float x2, float y2, Colour colour) override;
  void drawCircle(float cx, float cy, float r, Colour colour) override;
  void plotPoint(float x, float y, Colour colour) override;
  void printLine(std::string_view text) override;
  UnitPoint textPosition() const override { return textPosition_; }

  // The line height that stands in when there is no font, in pixels.
  static constexpr int nominalLineHeightPixels = 16;

 private:
  Image& image_;
  const Font* font_;
  UnitPoint textPosition_;
};

}  // namespace tilvera
