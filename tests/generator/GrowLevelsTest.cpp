#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TreeRig.h"
#include "growth/GrowLevels.h"

namespace tilvera {
namespace {

using testing::RecordingSurface;
using testing::ScriptedRandom;
using testing::TreeRig;

constexpr float largestBelowOne = 0.99999994f;  // 1 - 2^-24

// ---- Colour ------------------------------------------------------------------

struct ColourCase {
  std::string name;
  std::int16_t levelCount;
  float r;  // every uniform of the tree
  unsigned firstRedBlue, firstGreen;
  unsigned middleRedBlue, middleGreen;  // at level levelCount / 2
  unsigned lastRedBlue, lastGreen;
};

class BranchColour : public ::testing::TestWithParam<ColourCase> {};

// Purple at the first level, green at the last, with a random share of 0 to 25.
TEST_P(BranchColour, RunsFromPurpleToGreenWithinItsRandomShare) {
  const ColourCase& c = GetParam();
  TreeRig rig;
  rig.setUp(
      {.branchCount = 1, .branchFactor = 1.0f, .levelCount = c.levelCount, .segmentLength = 20});
  rig.random = std::move(ScriptedRandom().thenForever(c.r));

  growLevels(rig.g, rig.ports);

  const auto& polls = rig.events.snapshots;
  ASSERT_EQ(polls.size(), static_cast<std::size_t>(c.levelCount));
  EXPECT_EQ(polls.front().branchColor, rgb(c.firstRedBlue, c.firstGreen, c.firstRedBlue));
  EXPECT_EQ(polls[c.levelCount / 2 - 1].branchColor,
            rgb(c.middleRedBlue, c.middleGreen, c.middleRedBlue));
  EXPECT_EQ(polls.back().branchColor, rgb(c.lastRedBlue, c.lastGreen, c.lastRedBlue));
}

INSTANTIATE_TEST_SUITE_P(
    LevelCounts, BranchColour,
    ::testing::Values(
        ColourCase{"Twelve_R0", 12, 0.0f, 183, 17, 100, 100, 0, 200},
        ColourCase{"Twelve_RNearOne", 12, largestBelowOne, 208, 42, 125, 125, 25, 225},
        ColourCase{"TwentyFive_R0", 25, 0.0f, 192, 8, 104, 96, 0, 200},
        ColourCase{"TwentyFive_RNearOne", 25, largestBelowOne, 217, 33, 129, 121, 25, 225},
        ColourCase{"Eight_R0", 8, 0.0f, 175, 25, 100, 100, 0, 200},
        ColourCase{"Eight_RNearOne", 8, largestBelowOne, 200, 50, 125, 125, 25, 225},
        // 25 r = 12.5 puts the middle and last levels on halves, which go to the even neighbour.
        ColourCase{"Eight_RHalf", 8, 0.5f, 188, 38, 112, 112, 12, 212}),
    [](const ::testing::TestParamInfo<ColourCase>& info) { return info.param.name; });

// ---- Order of the draws within a node ------------------------------------------

// Notes, at every uniform, where the tree stood: the node's start point and how
// many lines had been drawn.
class ObservingRandom : public ScriptedRandom {
 public:
  ObservingRandom(std::vector<float> values, const GeneratorState& g,
                  const RecordingSurface& surface)
      : ScriptedRandom(std::move(values)), g_(g), surface_(surface) {}

  float uniform() override {
    startYAtDraw.push_back(g_.startY);
    linesBeforeDraw.push_back(surface_.ofKind(RecordingSurface::Kind::line).size());
    return ScriptedRandom::uniform();
  }

  std::vector<std::int16_t> startYAtDraw;
  std::vector<std::size_t> linesBeforeDraw;

 private:
  const GeneratorState& g_;
  const RecordingSurface& surface_;
};

TEST(GrowLevelsOrder, ColourIsDrawnBeforeTheNodeIsFetchedAndBeforeItsBranches) {
  TreeRig rig;
  rig.setUp({.branchCount = 2, .branchFactor = 1.0f, .levelCount = 2, .segmentLength = 80});
  // Per node: three colour uniforms, then u1 and u2 for each of the two children.
  // Three nodes in all: the root, then its two children. Nothing more may be drawn.
  const std::vector<float> node = {0.96f, 0.92f, 0.88f, 0.5f, 0.5f, 0.5f, 0.5f};
  std::vector<float> script;
  for (int n = 0; n < 3; ++n) script.insert(script.end(), node.begin(), node.end());
  ObservingRandom random(script, rig.g, rig.surface);
  GeneratorPorts ports{rig.surface, random, rig.clock, rig.events};

  growLevels(rig.g, ports);

  ASSERT_EQ(random.drawn, 21u);
  // The root's colour is drawn while the start point is still the trunk's base;
  // its branches grow from the trunk's top, which fetchBranch brought in.
  for (int draw = 0; draw < 3; ++draw) EXPECT_EQ(random.startYAtDraw[draw], 469) << draw;
  for (int draw = 3; draw < 7; ++draw) EXPECT_EQ(random.startYAtDraw[draw], 349) << draw;

  // No line is drawn between the colour draws of a node and its first branch draw.
  for (int n = 0; n < 3; ++n)
    for (int draw = 7 * n + 1; draw <= 7 * n + 3; ++draw)
      EXPECT_EQ(random.linesBeforeDraw[draw], random.linesBeforeDraw[7 * n]) << draw;

  // Every branch line carries the colour of its node's first three draws.
  const Colour levelOne = rgb(124, 123, 122);  // 25 r + 100 each
  const Colour levelTwo = rgb(24, 223, 22);    // 25 r, 25 r + 200, 25 r
  const auto lines = rig.surface.ofKind(RecordingSurface::Kind::line);
  ASSERT_GT(lines.size(), random.linesBeforeDraw[7 * 2 + 6]);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].colour == rig.g.edgeColor) continue;
    EXPECT_EQ(lines[i].colour, i < random.linesBeforeDraw[7] ? levelOne : levelTwo) << i;
  }
}

// ---- Length cut-off ------------------------------------------------------------

struct CutOffCase {
  std::string name;
  double segmentLength;
  float branchFactor;
  std::int16_t levelCount;
  int levelsDrawn;
};

class LengthCutOff : public ::testing::TestWithParam<CutOffCase> {};

TEST_P(LengthCutOff, DrawsEveryLevelOfLengthOneOrMoreAndPollsOncePerLevel) {
  const CutOffCase& c = GetParam();
  TreeRig rig;
  rig.setUp({.branchCount = 1,
             .branchFactor = c.branchFactor,
             .widthFactor = 2.0f,
             .levelCount = c.levelCount,
             .segmentLength = c.segmentLength});
  rig.random = std::move(ScriptedRandom().thenForever(0.5f));
  const float trunkWidthAfterStep = rig.g.segmentWidth;

  growLevels(rig.g, rig.ports);

  const auto& polls = rig.events.snapshots;
  ASSERT_EQ(polls.size(), static_cast<std::size_t>(c.levelsDrawn));
  for (int k = 0; k < c.levelsDrawn; ++k) {
    EXPECT_EQ(polls[k].level, k + 1);
    EXPECT_GE(polls[k].segmentLength, 1.0);
  }
  // One node a level: three colour draws and two for its branch; none for a cut level.
  EXPECT_EQ(rig.random.drawn, 5u * c.levelsDrawn);
  // The width steps once per level drawn, not at the level that is cut.
  EXPECT_EQ(rig.g.segmentWidth, std::ldexp(trunkWidthAfterStep, -c.levelsDrawn));
  if (c.levelsDrawn == 0) {
    EXPECT_TRUE(rig.surface.calls.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, LengthCutOff,
    ::testing::Values(CutOffCase{"ExactlyOneAfterTheDivisionDraws", 2, 2.0f, 6, 1},
                      CutOffCase{"HalvedDownToExactlyOne", 8, 2.0f, 6, 3},
                      CutOffCase{"JustBelowOneIsCut", 7.99, 2.0f, 6, 2},
                      CutOffCase{"BelowOneAtTheFirstLevelDrawsNothing", 1.5, 2.0f, 6, 0},
                      CutOffCase{"FactorOneKeepsLengthOneForEveryLevel", 1, 1.0f, 5, 5},
                      CutOffCase{"LongEnoughForEveryLevel", 1000, 2.0f, 6, 6}),
    [](const ::testing::TestParamInfo<CutOffCase>& info) { return info.param.name; });

// ---- The last level ------------------------------------------------------------

TEST(GrowLevelsLastLevel, QueuesNothingButStillPolls) {
  TreeRig rig;
  rig.setUp({.branchCount = 2, .branchFactor = 1.0f, .levelCount = 2, .segmentLength = 80});
  rig.random = std::move(ScriptedRandom().thenForever(0.5f));

  growLevels(rig.g, rig.ports);

  ASSERT_EQ(rig.events.snapshots.size(), 2u);
  EXPECT_EQ(rig.events.snapshots.back().level, 2);
  // Level 1 queued its two tips in rows 3 and 4; level 2 would have used rows 7 to 10.
  EXPECT_EQ(rig.g.lastPushRow, 4);
  EXPECT_NE(rig.g.branchQueue[3].y, 0);
  EXPECT_NE(rig.g.branchQueue[4].y, 0);
  for (int row = 5; row <= 10; ++row) {
    const PendingBranch& b = rig.g.branchQueue[row];
    EXPECT_TRUE(b.x == 0 && b.y == 0 && b.angle == 0) << "row " << row;
  }
  // Both nodes of level 2 still drew their colour and their two branches.
  EXPECT_EQ(rig.random.drawn, (3u + 2 * 2) * 3);
}

}  // namespace
}  // namespace tilvera
