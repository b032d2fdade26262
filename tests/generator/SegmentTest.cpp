#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "generator/ScreenState.h"
#include "growth/Segment.h"
#include "growth/ThickSegment.h"
#include "setup/SetUpTree.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedRandom.h"

namespace tilvera {
namespace {

using testing::RecordingSurface;
using testing::ScriptedRandom;
using testing::stateOnScreen;
using Call = RecordingSurface::Call;

constexpr Colour fillColour = rgb(200, 30, 180);

std::vector<Call> lines(const RecordingSurface& surface) {
  return surface.ofKind(RecordingSurface::Kind::line);
}

void expectLine(const Call& line, double x1, double y1, double x2, double y2, Colour colour) {
  EXPECT_FLOAT_EQ(line.a, static_cast<float>(x1));
  EXPECT_FLOAT_EQ(line.b, static_cast<float>(y1));
  EXPECT_FLOAT_EQ(line.c, static_cast<float>(x2));
  EXPECT_FLOAT_EQ(line.d, static_cast<float>(y2));
  EXPECT_EQ(line.colour, colour);
}

// ---- stepWidth ------------------------------------------------------------

struct WidthCase {
  float segmentWidth;
  float widthFactor;
  double halfWidthX;
  double halfWidthY;
  float nextWidth;
};

class StepWidthTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(StepWidthTest, HalvesTheWidthAndNarrowsItForWhatFollows) {
  const WidthCase& c = GetParam();
  GeneratorState g = stateOnScreen();
  g.segmentWidth = c.segmentWidth;
  g.widthFactor = c.widthFactor;

  stepWidth(g);

  EXPECT_EQ(g.halfWidthX, c.halfWidthX);
  EXPECT_NEAR(g.halfWidthY, c.halfWidthY, 1e-12);
  EXPECT_EQ(g.segmentWidth, c.nextWidth);
  // Segments drawn now end exactly as wide as the next ones start.
  EXPECT_FLOAT_EQ(static_cast<float>(g.halfWidthX / g.widthFactor), g.segmentWidth * 0.5f);
}

INSTANTIATE_TEST_SUITE_P(Widths, StepWidthTest,
                         ::testing::Values(WidthCase{12.0f, 1.5f, 6.0, 4.98, 8.0f},
                                           WidthCase{5.0f, 1.0f, 2.5, 2.075, 5.0f},
                                           WidthCase{20.0f, 5.0f, 10.0, 8.3, 4.0f}));

// ---- drawBranch: geometry --------------------------------------------------

GeneratorState forkAtTrunkTop() {
  GeneratorState g = stateOnScreen();
  g.startX = 320;
  g.startY = 349;
  g.startAngle = 90;
  g.segmentLength = 100;
  g.randomness = 0.5;
  g.randomBase = 0;
  g.spread = 0.8;
  g.branchCount = 2;
  g.widthFactor = 1.5f;
  g.halfWidthX = 2.5;
  g.halfWidthY = 2.075;
  g.branchColor = fillColour;
  return g;
}

struct BranchCase {
  std::int16_t childIndex;
  double endAngle;
  std::int16_t endX, endY;
};

class WorkedBranchTest : public ::testing::TestWithParam<BranchCase> {};

TEST_P(WorkedBranchTest, LengthFromU1AndTurnFromU2) {
  const BranchCase& c = GetParam();
  GeneratorState g = forkAtTrunkTop();
  g.childIndex = c.childIndex;
  ScriptedRandom random({0.6f, 0.5f});
  RecordingSurface surface;

  drawBranch(g, random, surface);

  EXPECT_EQ(random.drawn, 2u);
  EXPECT_NEAR(g.branchLength, 30.0, 1e-5);
  EXPECT_NEAR(g.endAngle, c.endAngle, 1e-9);
  EXPECT_EQ(g.endX, c.endX);
  EXPECT_EQ(g.endY, c.endY);
  ASSERT_FALSE(lines(surface).empty());
  expectLine(lines(surface).front(), 320 - 2.5, 349, c.endX - 2.5 / 1.5, c.endY, fillColour);
}

INSTANTIATE_TEST_SUITE_P(TwoChildren, WorkedBranchTest,
                         ::testing::Values(BranchCase{1, 86.4, 322, 324},
                                           BranchCase{2, 104.4, 313, 325}));

struct TurnCase {
  std::int16_t branchCount;
  std::int16_t childIndex;
  double turn;  // degrees: 45 (spread 1, u2 0.5, randomness 0.5) times the fork factor
};

class ForkTurnTest : public ::testing::TestWithParam<TurnCase> {};

TEST_P(ForkTurnTest, UsesTheRealShareOfTheFork) {
  const TurnCase& c = GetParam();
  GeneratorState g = forkAtTrunkTop();
  g.spread = 1.0;
  g.branchCount = c.branchCount;
  g.childIndex = c.childIndex;
  ScriptedRandom random({0.5f, 0.5f});
  RecordingSurface surface;

  drawBranch(g, random, surface);

  EXPECT_NEAR(g.endAngle - 90, c.turn, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Factors, ForkTurnTest,
                         ::testing::Values(TurnCase{1, 1, 18.0},   // 0.4: never clockwise
                                           TurnCase{3, 1, -12.0},  // -4/15
                                           TurnCase{3, 2, 3.0},    // 1/15
                                           TurnCase{3, 3, 18.0}, TurnCase{4, 1, -15.75},
                                           TurnCase{4, 2, -4.5}, TurnCase{4, 3, 6.75}));

// ---- drawBranch: the usable area ------------------------------------------

struct AreaCase {
  std::int16_t startX, startY, startAngle;
  double segmentLength;  // u1 0.5 gives a branch a quarter of this long
  std::int16_t endX, endY;
  bool drawn;
};

class UsableAreaTest : public ::testing::TestWithParam<AreaCase> {};

TEST_P(UsableAreaTest, DrawsOnlyEndPointsOnTheAreaButAlwaysKeepsThem) {
  const AreaCase& c = GetParam();
  GeneratorState g = forkAtTrunkTop();
  g.startX = c.startX;
  g.startY = c.startY;
  g.startAngle = c.startAngle;
  g.segmentLength = c.segmentLength;
  g.childIndex = 1;
  ScriptedRandom random({0.5f, 0.0f});  // u2 = 0: no turn
  RecordingSurface surface;

  drawBranch(g, random, surface);

  EXPECT_EQ(g.endX, c.endX);
  EXPECT_EQ(g.endY, c.endY);
  EXPECT_EQ(g.endAngle, c.startAngle);
  EXPECT_EQ(!lines(surface).empty(), c.drawn);
}

// Vertical branches 100 long move 83 units: the aspect squeezes y.
INSTANTIATE_TEST_SUITE_P(
    Borders, UsableAreaTest,
    ::testing::Values(
        AreaCase{100, 200, 180, 400, 0, 200, true}, AreaCase{99, 200, 180, 400, -1, 200, false},
        AreaCase{539, 200, 0, 400, 639, 200, true}, AreaCase{540, 200, 0, 400, 640, 200, false},
        AreaCase{300, 83, 90, 400, 300, 0, true}, AreaCase{300, 82, 90, 400, 300, -1, false},
        AreaCase{300, 386, 270, 400, 300, 469, true}, AreaCase{300, 387, 270, 400, 300, 470, false},
        // Half-unit ends round to even: 322.5 -> 322, 323.5 -> 324, -0.5 -> 0.
        AreaCase{322, 200, 0, 2, 322, 200, true}, AreaCase{323, 200, 0, 2, 324, 200, true},
        AreaCase{0, 200, 180, 2, 0, 200, true}));

TEST(DrawBranch, ZeroLengthEndsOnItsStart) {
  GeneratorState g = forkAtTrunkTop();
  g.childIndex = 1;
  ScriptedRandom random({0.0f, 0.7f});
  RecordingSurface surface;

  drawBranch(g, random, surface);

  EXPECT_EQ(g.branchLength, 0.0);
  EXPECT_EQ(g.endX, 320);
  EXPECT_EQ(g.endY, 349);
  EXPECT_EQ(lines(surface).size(), 6u + 5u + 2u);
}

// ---- drawThickSegment: fans and edges ---------------------------------------

// A steep segment from (100, 200) to (100, 100), tapering by 2.
GeneratorState steepSegment(double halfWidthX, double halfWidthY) {
  GeneratorState g = stateOnScreen();
  g.startX = 100;
  g.startY = 200;
  g.endX = 100;
  g.endY = 100;
  g.widthFactor = 2.0f;
  g.halfWidthX = halfWidthX;
  g.halfWidthY = halfWidthY;
  return g;
}

struct FanCase {
  double halfWidthX;
  std::vector<double> offsets;
};

class HorizontalFanTest : public ::testing::TestWithParam<FanCase> {};

TEST_P(HorizontalFanTest, StepsByOneFromMinusHalfWidthKeepingItsFraction) {
  const FanCase& c = GetParam();
  GeneratorState g = steepSegment(c.halfWidthX, 0.3);  // one vertical line, at -0.3
  RecordingSurface surface;

  drawThickSegment(g, surface, fillColour, SegmentEdges{});

  const std::vector<Call> drawn = lines(surface);
  ASSERT_EQ(drawn.size(), c.offsets.size() + 1);
  for (std::size_t i = 0; i < c.offsets.size(); ++i) {
    const double o = c.offsets[i];
    expectLine(drawn[i], 100 + o, 200, 100 + o / 2, 100, fillColour);
  }
  expectLine(drawn.back(), 100, 200 - 0.3, 100, 100 - 0.15, fillColour);
}

INSTANTIATE_TEST_SUITE_P(
    HalfWidths, HorizontalFanTest,
    ::testing::Values(FanCase{2.5, {-2.5, -1.5, -0.5, 0.5, 1.5, 2.5}},
                      FanCase{2.3, {-2.3, -1.3, -0.3, 0.7, 1.7}},
                      FanCase{0.5, {-0.5, 0.5}},  // the last offset may equal the half-width
                      FanCase{0.4, {-0.4}}, FanCase{0.001, {-0.001}},
                      FanCase{6.0, {-6, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 6}}));

TEST(ThickSegment, TrunkEdgesComeLastLeftRightUpperLower) {
  GeneratorState g = steepSegment(2.3, 1.2);
  g.endX = 150;
  g.endY = 120;
  RecordingSurface surface;

  drawTrunk(g, surface);

  const std::vector<Call> drawn = lines(surface);
  ASSERT_EQ(drawn.size(), 5u + 3u + 4u);
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(drawn[i].colour, g.trunkColor);
  // The vertical fan: -1.2, -0.2, 0.8.
  expectLine(drawn[5], 100, 200 - 1.2, 150, 120 - 0.6, g.trunkColor);
  expectLine(drawn[7], 100, 200 + 0.8, 150, 120 + 0.4, g.trunkColor);
  expectLine(drawn[8], 100 - 2.3, 200, 150 - 1.15, 120, g.edgeColor);
  // The right edge lies 0.6 beyond the last fill line at +1.7.
  expectLine(drawn[9], 100 + 2.3, 200, 150 + 1.15, 120, g.edgeColor);
  expectLine(drawn[10], 100, 200 - 1.2, 150, 120 - 0.6, g.edgeColor);
  expectLine(drawn[11], 100, 200 + 1.2, 150, 120 + 0.6, g.edgeColor);
}

TEST(ThickSegment, BranchEdgesAreLeftAndUpperOnly) {
  GeneratorState g = forkAtTrunkTop();
  g.childIndex = 1;
  ScriptedRandom random({0.6f, 0.5f});
  RecordingSurface surface;

  drawBranch(g, random, surface);  // ends at (322, 324)

  const std::vector<Call> drawn = lines(surface);
  ASSERT_EQ(drawn.size(), 6u + 5u + 2u);
  for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(drawn[i].colour, fillColour);
  expectLine(drawn[11], 320 - 2.5, 349, 322 - 2.5 / 1.5, 324, g.edgeColor);
  expectLine(drawn[12], 320, 349 - 2.075, 322, 324 - 2.075 / 1.5, g.edgeColor);
}

TEST(ThickSegment, WidthFactorOneKeepsEveryFillLineParallel) {
  GeneratorState g = steepSegment(3.7, 2.2);
  g.endX = 130;
  g.endY = 150;
  g.widthFactor = 1.0f;
  RecordingSurface surface;

  drawThickSegment(g, surface, fillColour, SegmentEdges{});

  const std::vector<Call> drawn = lines(surface);
  ASSERT_EQ(drawn.size(), 8u + 5u);
  for (const Call& line : drawn) {
    EXPECT_FLOAT_EQ(line.c - line.a, 30.0f);
    EXPECT_FLOAT_EQ(line.d - line.b, -50.0f);
  }
}

TEST(ThickSegment, PlacedTrunkShowsItsFanBetweenEdgesAndACentreLine) {
  GeneratorState g = stateOnScreen();
  placeTree(g);
  g.segmentWidth = 12.0f;
  g.widthFactor = 1.5f;
  stepWidth(g);  // half-widths 6 and 4.98
  RecordingSurface surface;

  drawTrunk(g, surface);

  const std::vector<Call> drawn = lines(surface);
  ASSERT_EQ(drawn.size(), 13u + 10u + 4u);
  for (std::size_t i = 0; i < 13; ++i) {
    const double o = -6.0 + static_cast<double>(i);
    expectLine(drawn[i], 320 + o, 469, 320 + o / 1.5, 349, g.trunkColor);
  }
  for (std::size_t i = 13; i < 23; ++i) {
    EXPECT_EQ(drawn[i].a, 320.0f);
    EXPECT_EQ(drawn[i].c, 320.0f);
  }
  expectLine(drawn[23], 314, 469, 316, 349, g.edgeColor);
  expectLine(drawn[24], 326, 469, 324, 349, g.edgeColor);
  // The centre line reaches 4.98 below the root and 3.32 above the top.
  expectLine(drawn[25], 320, 469 - 4.98, 320, 349 - 3.32, g.edgeColor);
  expectLine(drawn[26], 320, 469 + 4.98, 320, 349 + 3.32, g.edgeColor);
}

TEST(ThickSegment, ABranchPointingLeftTakesItsWidthFromTheVerticalFan) {
  GeneratorState g = forkAtTrunkTop();
  g.startAngle = 180;
  g.segmentLength = 80;
  g.childIndex = 1;
  ScriptedRandom random({0.5f, 0.0f});
  RecordingSurface surface;

  drawBranch(g, random, surface);

  ASSERT_EQ(g.endX, 300);
  ASSERT_EQ(g.endY, 349);
  const std::vector<Call> drawn = lines(surface);
  ASSERT_EQ(drawn.size(), 6u + 5u + 2u);
  for (std::size_t i = 0; i < 6; ++i) {  // all on the centre line
    EXPECT_EQ(drawn[i].b, 349.0f);
    EXPECT_EQ(drawn[i].d, 349.0f);
  }
  for (std::size_t i = 6; i < 11; ++i) {
    const double o = -2.075 + static_cast<double>(i - 6);
    expectLine(drawn[i], 320, 349 + o, 300, 349 + o / 1.5, fillColour);
  }
}

}  // namespace
}  // namespace tilvera
