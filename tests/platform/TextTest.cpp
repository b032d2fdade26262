#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "PixelProbe.h"
#include "platform/Font.h"
#include "platform/ImageSurface.h"
#include "platform/Units.h"
#include "platform/WindowColours.h"

namespace tilvera {
namespace {

using testing::paintedPixels;

// The project installs Arapey; "Bodoni BT" wins wherever it is present.
class WindowText : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string warning;
    font = Font::loadWindowFont(&warning).release();
    ASSERT_NE(font, nullptr) << warning;
  }
  static void TearDownTestSuite() {
    delete font;
    font = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(font, nullptr);
    surface.clearSurface();
  }

  static inline const Font* font = nullptr;
  Image image{imageWidth, imageHeight};
  ImageSurface surface{image, font};
};

bool between(unsigned value, unsigned a, unsigned b) {
  return value >= std::min(a, b) && value <= std::max(a, b);
}

// Each channel of a blend lies between the two colours it mixes.
bool blendOf(Colour c, Colour under, Colour over) {
  return between(redOf(c), redOf(under), redOf(over)) &&
         between(greenOf(c), greenOf(under), greenOf(over)) &&
         between(blueOf(c), blueOf(under), blueOf(over));
}

TEST_F(WindowText, TheWindowFontIsTheWantedFaceAtTwelvePoints) {
  EXPECT_TRUE(font->family() == "Bodoni BT" || font->family() == "Arapey") << font->family();
  // 12 points are 16 pixels to the em; the line is a little taller.
  EXPECT_GE(font->lineHeightPixels(), 16);
  EXPECT_LE(font->lineHeightPixels(), 24);
  EXPECT_GT(font->ascenderPixels(), 8);
  EXPECT_LT(font->ascenderPixels(), font->lineHeightPixels());
  EXPECT_EQ(font->advancePixels(""), 0);
  EXPECT_LT(font->advancePixels("ii"), font->advancePixels("WW"));
}

TEST_F(WindowText, ALinePaintsOnlyStrokesInTheTextColourInsideItsBox) {
  surface.printLine("TILVERA. Trees, one after another");
  const int left = pixelIndex(pixelX(0)), top = pixelIndex(pixelY(0));
  const int right = left + font->advancePixels("TILVERA. Trees, one after another");
  const int bottom = top + font->lineHeightPixels();
  int dark = 0, changed = 0;
  for (const auto& [x, y] : paintedPixels(image, backgroundColor)) {
    ++changed;
    EXPECT_TRUE(x >= left - 1 && x <= right + 1 && y >= top && y < bottom) << x << "," << y;
    const Colour c = image.pixel(x, y);
    EXPECT_TRUE(blendOf(c, backgroundColor, textColor)) << std::hex << c;
    dark += blendOf(c, textColor, rgb(40, 40, 160));
  }
  EXPECT_GT(dark, 50) << "solid strokes in the text colour";
  EXPECT_LT(changed, (right - left) * (bottom - top) / 2) << "the gaps keep the background";
}

TEST_F(WindowText, TheBannerStartsAtTheTextPositionAndMovesToTheNextLine) {
  surface.plotPoint(127.8f, 20, rgb(255, 255, 255));
  surface.printLine("TILVERA.");
  const int left = pixelIndex(pixelX(127.8)), top = pixelIndex(pixelY(20));
  int first = imageWidth, highest = imageHeight;
  for (const auto& [x, y] : paintedPixels(image, backgroundColor)) {
    if (image.pixel(x, y) == rgb(255, 255, 255)) continue;  // the point
    first = std::min(first, x);
    highest = std::min(highest, y);
  }
  EXPECT_NEAR(first, left, 2) << "the T's stem starts at the left of the box";
  EXPECT_NEAR(highest, top + font->ascenderPixels() - 12, 3) << "capitals rise from the baseline";
  EXPECT_GE(highest, top);
  EXPECT_EQ(surface.textPosition().x, 0);
  EXPECT_FLOAT_EQ(surface.textPosition().y, 20 + font->lineHeightPixels() / pixelsPerUnitY);

  const Image afterFirst = image;
  surface.printLine("TILVERA.");  // the next line starts at x 0, below the first
  int changedAbove = 0;
  for (int y = 0; y < imageHeight; ++y)
    for (int x = 0; x < imageWidth; ++x) {
      if (image.pixel(x, y) != afterFirst.pixel(x, y)) {
        changedAbove += y < top + font->lineHeightPixels() - 1;
        EXPECT_LT(x, left) << "the second line starts at the left edge";
      }
    }
  EXPECT_EQ(changedAbove, 0);
}

TEST_F(WindowText, StrokesBlendWithWhatIsAlreadyThere) {
  surface.drawCircle(320, 240, 200, rgb(255, 255, 255));
  surface.plotPoint(250, 200, rgb(255, 255, 255));
  const Image before = image;
  surface.printLine("Arapey on white");
  int changed = 0;
  for (int y = 0; y < imageHeight; ++y)
    for (int x = 0; x < imageWidth; ++x)
      if (image.pixel(x, y) != before.pixel(x, y)) {
        ++changed;
        EXPECT_TRUE(blendOf(image.pixel(x, y), fillColor, textColor)) << x << "," << y;
      }
  EXPECT_GT(changed, 100);
}

TEST_F(WindowText, TextOverTheBordersIsClipped) {
  for (const UnitPoint at : {UnitPoint{600, 470}, UnitPoint{-20, -6}, UnitPoint{635, -3}}) {
    surface.clearSurface();
    surface.plotPoint(at.x, at.y, backgroundColor);
    surface.printLine("WWWWWWWWWWWW gjpq");
    EXPECT_FALSE(paintedPixels(image, backgroundColor).empty()) << at.x << "," << at.y;
  }
  for (const UnitPoint at : {UnitPoint{1e30f, -1e30f}, UnitPoint{2000, 100}, UnitPoint{50, -40}}) {
    surface.clearSurface();
    surface.plotPoint(at.x, at.y, backgroundColor);
    surface.printLine("nothing of this shows");
    EXPECT_TRUE(paintedPixels(image, backgroundColor).empty()) << at.x << "," << at.y;
  }
}

TEST_F(WindowText, CharactersBeyondLatin1AreDrawnToo) {
  surface.printLine("\xCE\xA9\xCE\xBB \xE2\x80\x94 \xC3\xB1");  // Omega lambda, a dash, n tilde
  EXPECT_GT(paintedPixels(image, backgroundColor).size(), 30u);
  Image again(imageWidth, imageHeight);
  ImageSurface second(again, font);
  second.clearSurface();
  second.printLine("\xCE\xA9\xCE\xBB \xE2\x80\x94 \xC3\xB1");
  EXPECT_EQ(paintedPixels(again, backgroundColor), paintedPixels(image, backgroundColor));
}

TEST(FontFile, AMissingFileIsReported) {
  std::string error;
  EXPECT_EQ(Font::loadFile("/nonexistent/font.otf", 0, &error), nullptr);
  EXPECT_NE(error.find("/nonexistent/font.otf"), std::string::npos) << error;
}

}  // namespace
}  // namespace tilvera
