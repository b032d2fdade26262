#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "generator/ScreenState.h"
#include "growth/BranchQueue.h"
#include "growth/PendingBranch.h"

namespace tilvera {
namespace {

using testing::stateOnScreen;

GeneratorState stateWithQueue(std::int16_t branchCount) {
  GeneratorState g = stateOnScreen();
  g.branchQueue.assign(queueRows, {});
  g.branchCount = branchCount;
  return g;
}

// What one level did to the queue; -1 where nothing was read or written.
struct LevelLayout {
  std::int16_t nodesInLevel;
  std::int32_t firstRead, lastRead;
  std::int32_t firstWritten, lastWritten;
  std::int32_t writeBaseAfter;
  bool operator==(const LevelLayout&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LevelLayout& l) {
  return out << "{" << l.nodesInLevel << ", read " << l.firstRead << ".." << l.lastRead
             << ", written " << l.firstWritten << ".." << l.lastWritten << ", writeBase "
             << l.writeBaseAfter << "}";
}

// Runs the queue's side of one tree in the order the growth calls it. Every
// queued tip carries a tag of its own in x, so a fetch shows which push it reads.
class TreeSimulation {
 public:
  TreeSimulation(GeneratorState& g, std::int16_t firstTag) : g_(g), nextTag_(firstTag) {}

  std::vector<LevelLayout> grow(std::int16_t levelCount) {
    std::vector<LevelLayout> layout;
    g_.endX = nextTag_++;
    g_.endY = 349;
    g_.endAngle = 90;
    resetQueue(g_);
    remember(g_.endX, g_.lastPushRow);
    std::vector<std::int16_t> previousLevel{g_.endX};
    for (std::int16_t level = 1; level <= levelCount; ++level) {
      LevelLayout l{g_.nodesInLevel, -1, -1, -1, -1, -1};
      std::vector<std::int16_t> thisLevel;
      std::vector<std::int16_t> fetched;
      for (g_.nodeIndex = 1; g_.nodeIndex <= l.nodesInLevel; ++g_.nodeIndex) {
        fetchBranch(g_);
        fetched.push_back(g_.startX);
        note(l.firstRead, l.lastRead, rowOf(g_.startX));
        for (g_.childIndex = 1; g_.childIndex <= g_.branchCount; ++g_.childIndex) {
          if (level == levelCount) continue;
          g_.endX = nextTag_++;
          pushBranch(g_);
          EXPECT_EQ(g_.branchQueue[g_.lastPushRow].x, g_.endX);
          remember(g_.endX, g_.lastPushRow);
          thisLevel.push_back(g_.endX);
          note(l.firstWritten, l.lastWritten, g_.lastPushRow);
        }
      }
      // Every node is a tip of this tree's previous level, in the order it was pushed.
      EXPECT_EQ(fetched, previousLevel) << "level " << level;
      advanceLevel(g_);
      if (level < levelCount) l.writeBaseAfter = g_.writeBase;
      layout.push_back(l);
      previousLevel = thisLevel;
    }
    return layout;
  }

 private:
  void remember(std::int16_t tag, std::int32_t row) {
    rows_.resize(std::max<std::size_t>(rows_.size(), tag + 1), -1);
    rows_[tag] = row;
  }
  std::int32_t rowOf(std::int16_t tag) const {
    return tag < static_cast<std::int16_t>(rows_.size()) ? rows_[tag] : -1;
  }
  static void note(std::int32_t& first, std::int32_t& last, std::int32_t row) {
    if (first < 0) first = row;
    last = row;
  }

  GeneratorState& g_;
  std::int16_t nextTag_;
  std::vector<std::int32_t> rows_;
};

TEST(BranchQueue, ResetQueuesTheTrunkTopAlone) {
  GeneratorState g = stateWithQueue(3);
  for (std::int32_t row : {1, 2}) g.branchQueue[row] = {11, 12, 13, 0};
  g.endX = 320;
  g.endY = 349;
  g.endAngle = 90;
  g.readBase = g.writeBase = g.lastPushRow = 999;
  g.nodesInLevel = g.nodeIndex = g.childIndex = 9;

  resetQueue(g);

  EXPECT_EQ(g.branchQueue[0].x, 320);
  EXPECT_EQ(g.branchQueue[0].y, 349);
  EXPECT_EQ(g.branchQueue[0].angle, 90);
  EXPECT_EQ(g.readBase, 0);
  EXPECT_EQ(g.writeBase, 3);
  EXPECT_EQ(g.lastPushRow, 0);
  EXPECT_EQ(g.nodesInLevel, 1);
  EXPECT_EQ(g.nodeIndex, 1);
  EXPECT_EQ(g.childIndex, 1);
  // Rows 1 and 2 are the gap before level 1's block.
  EXPECT_EQ(g.branchQueue[1].x, 11);
  EXPECT_EQ(g.branchQueue[2].x, 11);

  fetchBranch(g);
  EXPECT_EQ(g.startX, 320);
  EXPECT_EQ(g.startY, 349);
  EXPECT_EQ(g.startAngle, 90);
}

TEST(BranchQueue, LaysOutTwoBranchLevelsInBlocksThreeRowsApart) {
  GeneratorState g = stateWithQueue(2);
  const std::vector<LevelLayout> expected{
      {1, 0, 0, 3, 4, 7},
      {2, 3, 4, 7, 10, 13},
      {4, 7, 10, 13, 20, 23},
      {8, 13, 20, 23, 38, 41},
      {16, 23, 38, 41, 72, 75},
      {32, 41, 72, 75, 138, 141},
      {64, 75, 138, 141, 268, 271},
      {128, 141, 268, 271, 526, 529},
      {256, 271, 526, 529, 1040, 1043},
      {512, 529, 1040, 1043, 2066, 2069},
      {1024, 1043, 2066, 2069, 4116, 4119},
      {2048, 2069, 4116, -1, -1, -1},
  };
  EXPECT_EQ(TreeSimulation(g, 0).grow(12), expected);
}

TEST(BranchQueue, OneBranchLevelsMoveThreeRowsOn) {
  GeneratorState g = stateWithQueue(1);
  const std::vector<LevelLayout> layout = TreeSimulation(g, 0).grow(25);
  ASSERT_EQ(layout.size(), 25u);
  for (std::size_t i = 0; i < layout.size(); ++i) {
    EXPECT_EQ(layout[i].nodesInLevel, 1);
    EXPECT_EQ(layout[i].firstRead, static_cast<std::int32_t>(3 * i));
  }
  EXPECT_EQ(layout.back().lastRead, 72);
}

TEST(BranchQueue, ALaterTreeReadsOnlyItsOwnTips) {
  // A three-branch tree fills rows far beyond the two-branch tree that follows;
  // the fetch-order check inside the simulation fails on any stale row.
  GeneratorState g = stateWithQueue(3);
  const std::vector<LevelLayout> first = TreeSimulation(g, 0).grow(8);
  EXPECT_EQ(first.back().nodesInLevel, 2187);
  g.branchCount = 2;
  const std::vector<LevelLayout> second = TreeSimulation(g, 10000).grow(12);
  EXPECT_EQ(second.back().lastRead, 4116);
}

struct PushCase {
  std::int32_t writeBase;
  std::int16_t branchCount, nodeIndex, childIndex;
  std::int32_t row;
};

class PushRowTest : public ::testing::TestWithParam<PushCase> {};

TEST_P(PushRowTest, ReducesThePositionModuloTheRing) {
  const PushCase& c = GetParam();
  GeneratorState g = stateWithQueue(c.branchCount);
  g.writeBase = c.writeBase;
  g.nodeIndex = c.nodeIndex;
  g.childIndex = c.childIndex;
  g.endX = 123;
  g.endY = 456;
  g.endAngle = 78.0;

  pushBranch(g);

  EXPECT_EQ(g.lastPushRow, c.row);
  EXPECT_EQ(g.branchQueue[c.row].x, 123);
  EXPECT_EQ(g.branchQueue[c.row].y, 456);
  EXPECT_EQ(g.branchQueue[c.row].angle, 78);
}

INSTANTIATE_TEST_SUITE_P(Positions, PushRowTest,
                         ::testing::Values(PushCase{3, 2, 1, 1, 3}, PushCase{3, 2, 2, 2, 6},
                                           PushCase{31999, 2, 1, 2, 0},  // 32000 wraps to row 0
                                           PushCase{31990, 4, 5, 3, 8},  // 31990 + 3 + 16 - 1
                                           PushCase{32002, 4, 1000, 1, 3998}
                                           // the sum passes 32767 before reducing
                                           ));

struct FetchCase {
  std::int32_t readBase;
  std::int16_t nodeIndex;
  std::int32_t row;
};

class FetchRowTest : public ::testing::TestWithParam<FetchCase> {};

TEST_P(FetchRowTest, ReducesThePositionModuloTheRing) {
  const FetchCase& c = GetParam();
  GeneratorState g = stateWithQueue(2);
  g.branchQueue[queueCapacity] = {-5, -5, -5, 0};
  g.branchQueue[c.row] = {7, 8, 9, 0};
  g.readBase = c.readBase;
  g.nodeIndex = c.nodeIndex;

  fetchBranch(g);

  EXPECT_EQ(g.startX, 7);
  EXPECT_EQ(g.startY, 8);
  EXPECT_EQ(g.startAngle, 9);
}

INSTANTIATE_TEST_SUITE_P(Positions, FetchRowTest,
                         ::testing::Values(FetchCase{3, 2, 4}, FetchCase{32001, 1, 1},
                                           FetchCase{32000, 1, 0}, FetchCase{31999, 2, 0},
                                           FetchCase{32002, 1000, 1001}));

struct AngleCase {
  double endAngle;
  std::int16_t stored;
};

class StoredAngleTest : public ::testing::TestWithParam<AngleCase> {};

TEST_P(StoredAngleTest, RoundsHalfToEven) {
  GeneratorState g = stateWithQueue(1);
  g.writeBase = 3;
  g.nodeIndex = g.childIndex = 1;
  g.endAngle = GetParam().endAngle;
  pushBranch(g);
  EXPECT_EQ(g.branchQueue[3].angle, GetParam().stored) << "endAngle " << GetParam().endAngle;
}

INSTANTIATE_TEST_SUITE_P(Halves, StoredAngleTest,
                         ::testing::Values(AngleCase{90.5, 90}, AngleCase{91.5, 92},
                                           AngleCase{-0.5, 0}, AngleCase{86.4, 86},
                                           AngleCase{104.6, 105}, AngleCase{-37.5, -38}));

TEST(BranchQueue, AdvanceMakesTheWrittenBlockTheNextToRead) {
  GeneratorState g = stateWithQueue(3);
  g.nodesInLevel = 4;
  g.readBase = 3;
  g.writeBase = 7;
  g.lastPushRow = 18;

  advanceLevel(g);

  EXPECT_EQ(g.nodesInLevel, 12);
  EXPECT_EQ(g.readBase, 7);
  EXPECT_EQ(g.writeBase, 21);
}

TEST(BranchQueue, NeverTouchesTheLastRowOrTheFourthColumn) {
  GeneratorState g = stateWithQueue(2);
  for (PendingBranch& row : g.branchQueue) row.unused = 77;
  g.branchQueue[queueCapacity] = {77, 77, 77, 77};

  TreeSimulation(g, 0).grow(12);
  g.endX = g.endY = 1;
  g.endAngle = 1;
  for (std::int32_t writeBase : {31997, 31998, 31999, 32000, 32001, 32002}) {
    g.writeBase = writeBase;
    g.nodeIndex = g.childIndex = 1;
    pushBranch(g);
  }

  const PendingBranch last = g.branchQueue[queueCapacity];
  EXPECT_EQ(last.x, 77);
  EXPECT_EQ(last.y, 77);
  EXPECT_EQ(last.angle, 77);
  EXPECT_EQ(last.unused, 77);
  EXPECT_TRUE(std::all_of(g.branchQueue.begin(), g.branchQueue.end(),
                          [](const PendingBranch& row) { return row.unused == 77; }));
  EXPECT_EQ(g.branchQueue.size(), static_cast<std::size_t>(queueRows));
}

}  // namespace
}  // namespace tilvera
