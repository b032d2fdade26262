#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/PcgRandom.h"
#include "shell/Module1.h"
#include "support/ScriptedPump.h"
#include "support/ScriptedRandom.h"

namespace tilvera {
namespace {

using testing::ScriptedRandom;
using testing::SteppingTestClock;

// Collects the first few broken properties with the tree they happened in.
class Findings {
 public:
  void note(const std::string& what) {
    ++count;
    if (shown.size() < 10) shown.push_back("tree " + std::to_string(tree) + ": " + what);
  }
  std::string summary() const {
    std::ostringstream out;
    for (const std::string& line : shown) out << line << '\n';
    return out.str();
  }

  long tree = 0;
  long count = 0;
  std::vector<std::string> shown;
};

// Draws nothing; only checks that every value handed to a primitive is finite.
class CheckingSurface : public DrawingSurface {
 public:
  explicit CheckingSurface(Findings& findings) : findings_(findings) {}

  void clearSurface() override {}
  void drawLine(float x1, float y1, float x2, float y2, Colour) override {
    ++lines;
    check(x1, y1, x2, y2);
  }
  void drawCircle(float cx, float cy, float r, Colour) override { check(cx, cy, r, 0); }
  void plotPoint(float x, float y, Colour) override { check(x, y, 0, 0); }
  void printLine(std::string_view) override {}
  UnitPoint textPosition() const override { return {}; }

  long lines = 0;

 private:
  void check(float a, float b, float c, float d) {
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(c) || !std::isfinite(d))
      findings_.note("a primitive received a value that is not finite");
  }
  Findings& findings_;
};

class CountingRandom : public RandomSource {
 public:
  explicit CountingRandom(RandomSource& inner) : inner_(inner) {}
  void seed(std::uint64_t seed) override { inner_.seed(seed); }
  float uniform() override {
    ++drawn;
    return inner_.uniform();
  }
  long drawn = 0;

 private:
  RandomSource& inner_;
};

// At every poll, checks the state that growLevels hands over to the window
// system, and counts the levels and nodes of the tree being drawn.
class InspectingPump : public EventPump {
 public:
  InspectingPump(const GeneratorState& g, Findings& findings) : g_(g), findings_(findings) {}

  void beginTree() {
    levels = 0;
    nodes = 0;
    nodesOfNextLevel = 1;
  }

  void processPendingEvents() override {
    ++levels;
    if (g_.level != levels) findings_.note("a level was skipped or polled twice");
    if (!(g_.segmentLength >= 1)) findings_.note("a level was drawn with a length below 1");
    checkColour();
    nodes += nodesOfNextLevel;
    nodesOfNextLevel *= g_.branchCount;  // exact: what a 16-bit field must still hold
    if (g_.nodesInLevel != nodesOfNextLevel) findings_.note("nodesInLevel left 16 bits");
    checkQueue();
  }
  void waitForEvents() override { findings_.note("waited although no key was pressed"); }
  bool closeRequested() const override { return false; }
  [[noreturn]] void endProgram() override { std::abort(); }

  int levels = 0;
  long nodes = 0;
  int highestRow = 0;

 private:
  void checkColour() {
    const double f = g_.levelFraction;
    const auto within = [](unsigned c, double share) {
      return c >= std::floor(200 * share) && c <= std::ceil(200 * share + 25);
    };
    const Colour c = g_.branchColor;
    if (!within(redOf(c), 1 - f) || !within(greenOf(c), f) || !within(blueOf(c), 1 - f) ||
        c > 0xFFFFFF)
      findings_.note("branch colour out of its level's range");
  }

  void checkQueue() {
    if (g_.readBase < 0 || g_.readBase > 32002 || g_.writeBase < 0 || g_.writeBase > 32002)
      findings_.note("a queue base left 0 to 32002");
    if (g_.lastPushRow < 0 || g_.lastPushRow >= queueCapacity)
      findings_.note("a push left rows 0 to 31999");
    if (g_.level >= g_.levelCount) return;  // the last level queued nothing
    // The block just written is the next level's; its positions must not wrap the
    // ring, and its angles, whole degrees, turn by less than 36.5 a level.
    const long lastPosition = static_cast<long>(g_.readBase) + g_.nodesInLevel - 1;
    if (lastPosition >= queueCapacity) {
      findings_.note("the ring wrapped");
      return;
    }
    highestRow = std::max(highestRow, static_cast<int>(lastPosition));
    const double turnBound = 36.5 * g_.level;
    for (long row = g_.readBase; row <= lastPosition; ++row) {
      const int angle = g_.branchQueue[static_cast<std::size_t>(row)].angle;
      if (std::abs(angle - 90) > turnBound) findings_.note("a stored angle out of range");
    }
  }

  const GeneratorState& g_;
  Findings& findings_;
  long nodesOfNextLevel = 1;
};

// The whole generator on checking fakes; the clock's readings are the seeds.
class TreeProperties : public ::testing::Test {
 protected:
  void SetUp() override {
    startUp(g, ports);
    queueData = g.branchQueue.data();
  }

  // One tree through the real cycle, then its totals against the levels polled.
  void drawOneTree() {
    events.beginTree();
    counting.drawn = 0;
    runTree(g, ports);

    if (events.levels < g.levelCount && !(g.segmentLength < 1))
      findings.note("the tree stopped early with a length of 1 or more");
    if (events.levels < g.levelCount && g.level != events.levels + 1)
      findings.note("a cut level was polled");
    const long expectedDraws = 5 + events.nodes * (3 + 2 * g.branchCount);
    if (counting.drawn != expectedDraws)
      findings.note("drew " + std::to_string(counting.drawn) + " uniforms, expected " +
                    std::to_string(expectedDraws));
    ++findings.tree;
  }

  void expectQueueUntouchedOutsideTheRing() {
    EXPECT_EQ(g.branchQueue.data(), queueData) << "the queue was reallocated";
    EXPECT_EQ(g.branchQueue.size(), static_cast<std::size_t>(queueRows));
    const PendingBranch& last = g.branchQueue.back();
    EXPECT_TRUE(last.x == 0 && last.y == 0 && last.angle == 0 && last.unused == 0);
    for (const PendingBranch& row : g.branchQueue) ASSERT_EQ(row.unused, 0);
  }

  Findings findings;
  GeneratorState g;
  CheckingSurface surface{findings};
  PcgRandom pcg;
  ScriptedRandom scripted;
  CountingRandom counting{pcg};
  SteppingTestClock clock{0x7115'0000'0000ull};
  InspectingPump events{g, findings};
  GeneratorPorts ports{surface, counting, clock, events};
  const PendingBranch* queueData = nullptr;
};

// Unoptimised and sanitised builds run a tenth as many: what they look for (memory and
// undefined behaviour) shows in any tree, and the release run covers the seeds.
#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
constexpr long manyTrees = 10000;
#else
constexpr long manyTrees = 1000;
#endif

TEST_F(TreeProperties, HoldForManySeeds) {
  constexpr long trees = manyTrees;
  long levelsDrawn = 0;
  for (long t = 0; t < trees; ++t) {
    drawOneTree();
    levelsDrawn += events.levels;
  }

  EXPECT_EQ(findings.count, 0) << findings.summary();
  // The documented high-water mark of the ring (two branches a node, level 11).
  EXPECT_LE(events.highestRow, 4116);
  EXPECT_GT(levelsDrawn, trees);  // the trees did grow
  expectQueueUntouchedOutsideTheRing();
}

struct ExtremeCase {
  std::string name;
  float u;  // every uniform of the tree
  float branchFactor;
  int levels;
  long uniforms;
};

class ExtremeTrees : public TreeProperties, public ::testing::WithParamInterface<ExtremeCase> {};

TEST_P(ExtremeTrees, GrowEveryLevelWithFiniteValues) {
  const ExtremeCase& c = GetParam();
  scripted = std::move(ScriptedRandom().thenForever(c.u));
  CountingRandom countingScripted{scripted};
  GeneratorPorts extremePorts{surface, countingScripted, clock, events};

  for (int tree = 0; tree < 3; ++tree) {
    events.beginTree();
    countingScripted.drawn = 0;
    runTree(g, extremePorts);

    EXPECT_EQ(g.branchFactor, c.branchFactor);
    EXPECT_TRUE(std::isfinite(g.segmentLength));
    EXPECT_EQ(events.levels, c.levels);
    EXPECT_EQ(countingScripted.drawn, c.uniforms);
    EXPECT_EQ(countingScripted.drawn, 5 + events.nodes * (3 + 2 * g.branchCount));
  }
  EXPECT_EQ(findings.count, 0) << findings.summary();
  expectQueueUntouchedOutsideTheRing();
}

INSTANTIATE_TEST_SUITE_P(
    Uniforms, ExtremeTrees,
    ::testing::Values(
        // branchFactor 1, one branch a node, 25 levels of 3 + 2 draws.
        ExtremeCase{"AllZero", 0.0f, 1.0f, 25, 5 + 25 * 5},
        // branchFactor 2, four branches a node, 6 levels: 1365 nodes, 5460 branches.
        ExtremeCase{"AllLargestBelowOne", 0.99999994f, 2.0f, 6, 5 + 3 * 1365 + 2 * 5460}),
    [](const ::testing::TestParamInfo<ExtremeCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tilvera
