#include <gtest/gtest.h>

#include "make-icon/IconArt.h"
#include "platform/WindowColours.h"

namespace tilvera::icon {
namespace {

constexpr Colour leafGreen = rgb(20, 210, 15), branchPurple = rgb(210, 12, 205);

// What the text renderer leaves: the text colour over `under` at `coverage`.
Colour ink(Colour under, unsigned coverage) {
  const auto mix = [coverage](unsigned u, unsigned o) {
    return (u * (255 - coverage) + o * coverage + 127) / 255;
  };
  return rgb(mix(redOf(under), redOf(textColor)), mix(greenOf(under), greenOf(textColor)),
             mix(blueOf(under), blueOf(textColor)));
}

// A small render: grey ground, a white disc of radius 30 centred on (50, 40),
// a green crown on the disc with one twig beyond it, banner ink on and off the
// disc, and the lone white point off the disc.
class SmallRender : public ::testing::Test {
 protected:
  SmallRender() : render(100, 80, backgroundColor) {
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 100; ++x)
        if (disc.holdsCentreOf(x, y)) render.setPixel(x, y, fillColor);
    for (int y = 30; y < 45; ++y)
      for (int x = 40; x < 60; ++x) render.setPixel(x, y, leafGreen);
    render.setPixel(80, 12, leafGreen);  // the twig
    render.setPixel(50, 15, ink(fillColor, 255));
    render.setPixel(51, 15, ink(fillColor, 90));
    render.setPixel(23, 12, ink(backgroundColor, 170));
    render.setPixel(24, 12, ink(backgroundColor, 255));
    render.setPixel(22, 14, fillColor);  // the point beside the banner
  }

  const Disc disc{50, 40, 30};
  Image render;
};

TEST_F(SmallRender, TheDiscIsTheBoxOfTheWhitePixels) {
  const std::optional<Disc> found = findDisc(render);
  ASSERT_TRUE(found);
  EXPECT_DOUBLE_EQ(found->centreX, 50);
  EXPECT_DOUBLE_EQ(found->centreY, 40);
  EXPECT_DOUBLE_EQ(found->radius, 30);
  EXPECT_FALSE(findDisc(Image(10, 10, backgroundColor)));
}

TEST(EraseText, InkGoesBackToTheGroundAndTreeColoursStay) {
  const Disc disc{5, 5, 4};  // (5, 5) lies on the disc, (0, 0) off it
  struct Case {
    Colour drawn;
    int x, y;
    Colour left;
  };
  const Case cases[] = {
      {ink(fillColor, 255), 5, 5, fillColor},
      {ink(fillColor, 1), 5, 5, fillColor},
      {ink(fillColor, 128), 5, 5, fillColor},
      {ink(backgroundColor, 255), 0, 0, backgroundColor},
      {ink(backgroundColor, 40), 0, 0, backgroundColor},
      {ink(backgroundColor, 200), 5, 5, backgroundColor},  // ink over the grey at the disc's rim
      {leafGreen, 5, 5, leafGreen},
      {branchPurple, 5, 5, branchPurple},
      {rgb(50, 100, 50), 5, 5, rgb(50, 100, 50)},      // the edge lines
      {rgb(8, 0, 0), 5, 5, rgb(8, 0, 0)},              // the trunk
      {rgb(120, 120, 250), 5, 5, rgb(120, 120, 250)},  // blue, but no mix of the text colour
  };
  for (const Case& c : cases) {
    Image image(10, 10, fillColor);
    image.setPixel(c.x, c.y, c.drawn);
    eraseText(image, disc);
    EXPECT_EQ(image.pixel(c.x, c.y), c.left) << std::hex << "drawn " << c.drawn;
  }
}

TEST_F(SmallRender, TheIconIsTheDiscOnATransparentGround) {
  eraseText(render, disc);
  const IconPicture icon = drawIcon(render, disc, 16);
  ASSERT_EQ(icon.size, 16);
  ASSERT_EQ(icon.pixels.size(), 256u);
  for (const auto& [x, y] :
       {std::pair{0, 0}, std::pair{15, 0}, std::pair{0, 15}, std::pair{15, 15}})
    EXPECT_EQ(+icon.at(x, y).alpha, 0) << x << ", " << y;
  // Above the crown the disc is white and whole, the banner's ink gone.
  const Rgba top = icon.at(8, 3);
  EXPECT_EQ(+top.alpha, 255);
  EXPECT_EQ(rgb(top.red, top.green, top.blue), fillColor);
  // Off the disc, neither the banner's ink nor the white point leaves a trace,
  // but the twig does.
  EXPECT_EQ(+icon.at(1, 1).alpha, 0);
  EXPECT_GT(+icon.at(15, 1).alpha, 0);
  const Rgba crown = icon.at(8, 7);
  EXPECT_EQ(+crown.alpha, 255);
  EXPECT_EQ(rgb(crown.red, crown.green, crown.blue), leafGreen);
}

// A box filter neither gains nor loses: the icon's opaque area and its colour,
// scaled back to render pixels, are the render's, also at a size that does not
// divide the render evenly.
TEST_F(SmallRender, TheBoxFilterKeepsAreaAndColour) {
  eraseText(render, disc);
  render.setPixel(22, 14, backgroundColor);  // the point, which the icon leaves out
  double opaqueArea = 0, greenSum = 0;
  for (int y = 0; y < render.height(); ++y)
    for (int x = 0; x < render.width(); ++x) {
      const Colour c = render.pixel(x, y);
      if (c == backgroundColor) continue;
      opaqueArea += 1;
      greenSum += greenOf(c);
    }

  for (int size : {16, 37, 64}) {
    SCOPED_TRACE(size);
    const IconPicture icon = drawIcon(render, disc, size);
    const double step = (2 * disc.radius / 0.92) / size;
    double area = 0, green = 0;
    for (const Rgba& p : icon.pixels) {
      area += p.alpha / 255.0;
      green += p.alpha / 255.0 * p.green;
    }
    area *= step * step, green *= step * step;
    // Each icon pixel rounds its alpha and colour by at most half a step.
    const double slack = icon.pixels.size() * step * step * 0.5 / 255;
    EXPECT_NEAR(area, opaqueArea, slack);
    EXPECT_NEAR(green, greenSum, slack * 255 * 2);
  }
}

}  // namespace
}  // namespace tilvera::icon
