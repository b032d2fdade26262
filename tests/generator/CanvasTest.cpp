#include <gtest/gtest.h>

#include "growth/Canvas.h"
#include "shell/GeneratorState.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedPump.h"

namespace tilvera {
namespace {

using testing::RecordingSurface;
using Kind = RecordingSurface::Kind;

constexpr Colour white = rgb(255, 255, 255);

class PrepareCanvas : public ::testing::Test {
 protected:
  void SetUp() override { initScreenGeometry(g); }

  GeneratorState g;
  RecordingSurface surface;
  testing::ScriptedPump events;
};

TEST_F(PrepareCanvas, ForgetsAPendingKey) {
  events.lastKey = U'x';
  prepareCanvas(g, surface, events);
  EXPECT_FALSE(events.lastKey.has_value());
  // It never lets the window system run: the key is dropped, not acted on.
  EXPECT_EQ(events.processCalls + events.waitCalls, 0u);
}

TEST_F(PrepareCanvas, ClearsThenDrawsTheDiscThePointAndTheBanner) {
  surface.drawLine(1, 2, 3, 4, 5);  // a previous tree
  surface.calls.clear();

  prepareCanvas(g, surface, events);

  const auto& calls = surface.calls;
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].kind, Kind::clear);

  EXPECT_EQ(calls[1].kind, Kind::circle);
  EXPECT_EQ(calls[1].a, 319.5f);
  EXPECT_EQ(calls[1].b, 234.5f);
  EXPECT_EQ(calls[1].c, 213.395f);
  EXPECT_EQ(calls[1].colour, white);

  EXPECT_EQ(calls[2].kind, Kind::point);
  EXPECT_EQ(calls[2].a, 127.8f);
  EXPECT_EQ(calls[2].b, 20.0f);
  EXPECT_EQ(calls[2].colour, white);

  // The point placed the text: the banner's top left is where the point is.
  EXPECT_EQ(calls[3].kind, Kind::text);
  EXPECT_EQ(calls[3].a, 127.8f);
  EXPECT_EQ(calls[3].b, 20.0f);
  EXPECT_EQ(calls[3].text, bannerText);
}

TEST(BannerText, IsTheTitleOneBlankAndACredit) {
  constexpr std::string_view title = "TILVERA. ";
  ASSERT_GT(bannerText.size(), title.size());
  EXPECT_EQ(bannerText.substr(0, title.size()), title);
  EXPECT_NE(bannerText[title.size()], ' ');
  EXPECT_EQ(bannerText.find('\n'), std::string_view::npos);  // one line
}

}  // namespace
}  // namespace tilvera
