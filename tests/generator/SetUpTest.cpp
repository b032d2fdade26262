#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "generator/ScreenState.h"
#include "growth/PendingBranch.h"
#include "setup/DrawParameters.h"
#include "setup/SetUpTree.h"
#include "support/ScriptedRandom.h"

namespace tilvera {
namespace {

using testing::ScriptedRandom;
using testing::stateOnScreen;

const float justAboveZero = std::ldexp(1.0f, -24);
const float largestBelowOne = std::nextafter(1.0f, 0.0f);  // 1 - 2^-24

// ---- drawParameters ------------------------------------------------------

struct DrawCase {
  float u;  // the same value for all five draws
  float branchFactor;
  float widthFactor;
  float trunkWidth;
  std::int16_t branchCount;
  double spread;
};

class DrawParametersTest : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawParametersTest, PicksEachValueWithSinglePrecisionRounding) {
  const DrawCase& c = GetParam();
  GeneratorState g = stateOnScreen();
  ScriptedRandom random({c.u, c.u, c.u, c.u, c.u});

  drawParameters(g, random);

  EXPECT_EQ(random.drawn, 5u);
  EXPECT_EQ(g.branchFactor, c.branchFactor);
  EXPECT_EQ(g.widthFactor, c.widthFactor);
  EXPECT_EQ(g.trunkWidth, c.trunkWidth);
  EXPECT_EQ(g.branchCount, c.branchCount);
  EXPECT_EQ(g.spread, c.spread);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, DrawParametersTest,
    ::testing::Values(
        DrawCase{0.0f, 1.0f, 1.0f, 5.0f, 1, 0.5},
        // 1 + 2^-24 rounds to 1 in single precision; 15 * 2^-24 + 5 rounds up to 5 + 2^-20.
        DrawCase{justAboveZero, 1.0f, 1.0f + std::ldexp(1.0f, -22), 5.0f + std::ldexp(1.0f, -20), 1,
                 0.5 + std::ldexp(1.0, -25)},
        // Each sum lands halfway below the upper bound and ties to the even bound itself;
        // in double the trunk width would stay below 20.
        DrawCase{largestBelowOne, 2.0f, 5.0f, 20.0f, 4, 1.0 - std::ldexp(1.0, -25)}));

TEST(DrawParameters, TakesOneUniformPerValueInOrder) {
  GeneratorState g = stateOnScreen();
  ScriptedRandom random({0.25f, 0.125f, 0.5f, 0.75f, 0.5f});

  drawParameters(g, random);

  EXPECT_EQ(g.branchFactor, 1.25f);
  EXPECT_EQ(g.widthFactor, 1.5f);
  EXPECT_EQ(g.trunkWidth, 12.5f);
  EXPECT_EQ(g.branchCount, 3);  // 3.25
  EXPECT_EQ(g.spread, 0.75);
}

struct WidthDrawCase {
  float u;
  float trunkWidth;
};

class TrunkWidthDrawTest : public ::testing::TestWithParam<WidthDrawCase> {};

// 15u is rounded to single precision before 5 is added; rounding the exact sum
// once gives the neighbouring value for these draws.
TEST_P(TrunkWidthDrawTest, RoundsTheProductAndThenTheSum) {
  GeneratorState g = stateOnScreen();
  ScriptedRandom random({0.5f, 0.5f, GetParam().u, 0.5f, 0.5f});
  drawParameters(g, random);
  EXPECT_EQ(g.trunkWidth, GetParam().trunkWidth) << "u = " << GetParam().u;
}

INSTANTIATE_TEST_SUITE_P(TwoRoundings, TrunkWidthDrawTest,
                         ::testing::Values(WidthDrawCase{0.016f, 5.24f},
                                           WidthDrawCase{0.048f, std::nextafter(5.72f, 6.0f)}));

TEST(DrawParameters, SetsTheSameRangesEveryTree) {
  GeneratorState g = stateOnScreen();
  ScriptedRandom random({0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.9f, 0.8f, 0.7f, 0.6f, 0.5f});
  for (int tree = 0; tree < 2; ++tree) {
    g.branchFactorMax = g.widthFactorMin = g.spreadMax = -7;
    g.spreadMin = g.randomness = -7;
    drawParameters(g, random);

    EXPECT_EQ(g.branchFactorMax, 2);
    EXPECT_EQ(g.branchFactorMin, 1);
    EXPECT_EQ(g.widthFactorMax, 5);
    EXPECT_EQ(g.widthFactorMin, 1);
    EXPECT_EQ(g.trunkWidthMax, 20);
    EXPECT_EQ(g.trunkWidthMin, 5);
    EXPECT_EQ(g.branchCountMax, 4);
    EXPECT_EQ(g.branchCountMin, 1);
    EXPECT_EQ(g.spreadMax, 1);
    EXPECT_EQ(g.spreadMin, 0.5);
    EXPECT_EQ(g.randomness, 0.5);
  }
  EXPECT_EQ(random.drawn, 10u);
}

struct CountCase {
  float u;
  std::int16_t branchCount;
};

class BranchCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(BranchCountTest, RoundsThreeUPlusOneHalfToEven) {
  GeneratorState g = stateOnScreen();
  ScriptedRandom random({0.5f, 0.5f, 0.5f, GetParam().u, 0.5f});
  drawParameters(g, random);
  EXPECT_EQ(g.branchCount, GetParam().branchCount) << "u = " << GetParam().u;
}

// The single-precision neighbours of 1/6 and 5/6 fall on either side of the
// boundaries 1.5 and 3.5; u = 0.5 gives exactly 2.5, which goes to 2.
INSTANTIATE_TEST_SUITE_P(
    Boundaries, BranchCountTest,
    ::testing::Values(CountCase{0.0f, 1}, CountCase{std::nextafter(1.0f / 6, 0.0f), 1},
                      CountCase{1.0f / 6, 2},  // 0.16666667, above 1/6
                      CountCase{0.5f, 2}, CountCase{std::nextafter(0.5f, 1.0f), 3},
                      CountCase{5.0f / 6, 3},  // 0.8333333, below 5/6
                      CountCase{std::nextafter(5.0f / 6, 1.0f), 4}, CountCase{largestBelowOne, 4}));

// ---- placeTree and setUpTree --------------------------------------------

GeneratorState stateWithQueue() {
  GeneratorState g = stateOnScreen();
  g.branchQueue.assign(queueRows, {});
  return g;
}

void setParameters(GeneratorState& g, float branchFactor, std::int16_t branchCount) {
  g.branchFactor = branchFactor;
  g.branchCount = branchCount;
  g.widthFactor = 1.5f;
  g.trunkWidth = 12.0f;
  g.spread = 0.8;
  g.randomness = 0.5;
}

TEST(PlaceTree, PutsTheTrunkAtBottomCentrePointingUp) {
  GeneratorState g = stateOnScreen();
  g.startX = g.startY = g.endX = g.endY = -1;
  g.endAngle = -1;

  placeTree(g);

  EXPECT_EQ(g.startX, 320);  // 639 / 2 = 319.5 rounds to the even 320, not 319
  EXPECT_EQ(g.startY, 469);
  EXPECT_EQ(g.endX, 320);
  EXPECT_EQ(g.endY, 349);  // 469 - 119.75; 479 / 4 taken as integers would give 350
  EXPECT_EQ(g.endAngle, 90.0);
  EXPECT_EQ(g.referenceHeight, 479);
}

struct LevelCase {
  std::int16_t branchCount;
  std::int16_t levelCount;
};

class LevelCountTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(LevelCountTest, IsTwentyFiveOverBranchCountRoundedHalfToEven) {
  for (float branchFactor : {1.0f, 1.7f}) {
    GeneratorState g = stateWithQueue();
    setParameters(g, branchFactor, GetParam().branchCount);
    setUpTree(g);
    EXPECT_EQ(g.levelCount, GetParam().levelCount);
    // The trunk does not depend on the parameters.
    EXPECT_EQ(g.startX, 320);
    EXPECT_EQ(g.startY, 469);
    EXPECT_EQ(g.endX, 320);
    EXPECT_EQ(g.endY, 349);
  }
}

INSTANTIATE_TEST_SUITE_P(AllCounts, LevelCountTest,
                         ::testing::Values(LevelCase{1, 25}, LevelCase{2, 12},  // 12.5 -> 12
                                           LevelCase{3, 8}, LevelCase{4, 6}));

TEST(SetUpTree, LeavesTheStartingStateOfATree) {
  GeneratorState g = stateWithQueue();
  setParameters(g, 1.25f, 2);
  g.trunkWidth = 17.3f;
  g.branchQueue[0] = {1, 2, 3, 0};  // left by an earlier tree
  g.readBase = 500;
  g.writeBase = 600;
  g.nodesInLevel = 7;

  setUpTree(g);

  EXPECT_EQ(g.lengthRatio, 0.8f);
  EXPECT_EQ(g.randomBase, 0);  // 1 - 0.5 rounds to the even 0
  EXPECT_EQ(g.segmentWidth, 17.3f);
  EXPECT_EQ(g.branchQueue[0].x, 320);
  EXPECT_EQ(g.branchQueue[0].y, 349);
  EXPECT_EQ(g.branchQueue[0].angle, 90);
  EXPECT_EQ(g.readBase, 0);
  EXPECT_EQ(g.writeBase, 3);
  EXPECT_EQ(g.nodesInLevel, 1);
}

TEST(SetUpTree, LengthRatioIsTheSingleReciprocal) {
  GeneratorState g = stateWithQueue();
  setParameters(g, 1.5f, 3);
  setUpTree(g);
  EXPECT_EQ(g.lengthRatio, 0.6666667f);
}

struct LengthCase {
  float branchFactor;
  std::int16_t branchCount;
  double segmentLength;
  double tolerance;
};

class SegmentLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(SegmentLengthTest, IsTheFirstTermOfTheScaledSeries) {
  const LengthCase& c = GetParam();
  GeneratorState g = stateWithQueue();
  setParameters(g, c.branchFactor, c.branchCount);

  setUpTree(g);

  EXPECT_NEAR(g.segmentLength, c.segmentLength, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedValues, SegmentLengthTest,
    ::testing::Values(LengthCase{2.0f, 4, 647.28, 0.005}, LengthCase{2.0f, 1, 646.65, 0.005},
                      LengthCase{1.5f, 3, 434.45, 0.005}, LengthCase{1.25f, 2, 266.15, 0.005},
                      // The smallest factor above 1: the closed form still holds, just.
                      LengthCase{1.0f + std::ldexp(1.0f, -23), 1, 44.597, 0.0005}));

// 2.7 * 479 = 1293.3, shared equally by levelCount + 4 terms.
INSTANTIATE_TEST_SUITE_P(FactorOne, SegmentLengthTest,
                         ::testing::Values(LengthCase{1.0f, 1, 1293.3 / 29, 1e-9},
                                           LengthCase{1.0f, 2, 1293.3 / 16, 1e-9},
                                           LengthCase{1.0f, 3, 1293.3 / 12, 1e-9},
                                           LengthCase{1.0f, 4, 1293.3 / 10, 1e-9}));

TEST(SetUpTree, FactorOneJoinsTheClosedFormWithoutAJump) {
  GeneratorState atOne = stateWithQueue();
  GeneratorState aboveOne = stateWithQueue();
  setParameters(atOne, 1.0f, 1);
  setParameters(aboveOne, 1.0f + std::ldexp(1.0f, -23), 1);

  setUpTree(atOne);
  setUpTree(aboveOne);

  ASSERT_TRUE(std::isfinite(atOne.segmentLength));
  EXPECT_GT(atOne.segmentLength, 0.0);
  EXPECT_NEAR(atOne.segmentLength, aboveOne.segmentLength, 1e-4);
}

}  // namespace
}  // namespace tilvera
