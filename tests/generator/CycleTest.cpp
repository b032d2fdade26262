#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "shell/Module1.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedPump.h"
#include "support/ScriptedRandom.h"

namespace tilvera {
namespace {

using testing::ProgramEnded;
using testing::RecordingSurface;
using testing::ScriptedPump;
using testing::ScriptedRandom;
using testing::SteppingTestClock;
using Kind = RecordingSurface::Kind;

// Every port writes into one log, so the order of the stages shows across ports.
using Log = std::vector<std::string>;

class LoggingRandom : public ScriptedRandom {
 public:
  explicit LoggingRandom(Log& log) : log_(log) {}
  void seed(std::uint64_t seed) override {
    log_.push_back("seed");
    ScriptedRandom::seed(seed);
  }
  float uniform() override {
    log_.push_back("uniform");
    return ScriptedRandom::uniform();
  }

 private:
  Log& log_;
};

class LoggingSurface : public RecordingSurface {
 public:
  explicit LoggingSurface(Log& log) : log_(log) {}
  void clearSurface() override {
    log_.push_back("clear");
    RecordingSurface::clearSurface();
  }
  void drawLine(float x1, float y1, float x2, float y2, Colour colour) override {
    log_.push_back("line");
    RecordingSurface::drawLine(x1, y1, x2, y2, colour);
  }
  void drawCircle(float cx, float cy, float r, Colour colour) override {
    log_.push_back("circle");
    RecordingSurface::drawCircle(cx, cy, r, colour);
  }
  void plotPoint(float x, float y, Colour colour) override {
    log_.push_back("point");
    RecordingSurface::plotPoint(x, y, colour);
  }
  void printLine(std::string_view text) override {
    log_.push_back("text");
    RecordingSurface::printLine(text);
  }

 private:
  Log& log_;
};

class LoggingPump : public ScriptedPump {
 public:
  LoggingPump(Log& log, std::vector<Batch> script) : ScriptedPump(std::move(script)), log_(log) {}
  void processPendingEvents() override {
    log_.push_back("poll");
    ScriptedPump::processPendingEvents();
  }

 private:
  Log& log_;
};

struct Generator {
  explicit Generator(std::vector<ScriptedPump::Batch> script = {})
      : events(log, std::move(script)) {}

  Log log;
  LoggingRandom random{log};
  LoggingSurface surface{log};
  SteppingTestClock clock{5000};
  LoggingPump events;
  GeneratorPorts ports{surface, random, clock, events};
  GeneratorState g;
};

TEST(StartUp, ClearsSetsTheGeometrySeedsCreatesTheQueueAndFixesTheConstants) {
  Generator gen;
  gen.g.branchQueue.clear();

  startUp(gen.g, gen.ports);

  EXPECT_EQ(gen.log, (Log{"clear", "seed"}));
  EXPECT_EQ(gen.random.seeds, (std::vector<std::uint64_t>{5000}));

  EXPECT_EQ(gen.g.minX, 0);
  EXPECT_EQ(gen.g.minY, 0);
  EXPECT_EQ(gen.g.maxX, 639);
  EXPECT_EQ(gen.g.maxY, 469);
  EXPECT_EQ(gen.g.screenWidth, 640);
  EXPECT_EQ(gen.g.screenHeight, 479);
  EXPECT_EQ(gen.g.aspect, 0.83);

  ASSERT_EQ(gen.g.branchQueue.size(), 32001u);
  for (const PendingBranch& row : gen.g.branchQueue)
    ASSERT_TRUE(row.x == 0 && row.y == 0 && row.angle == 0 && row.unused == 0);

  EXPECT_EQ(gen.g.edgeColor, rgb(50, 100, 50));
  EXPECT_EQ(gen.g.trunkColor, 8u);
  EXPECT_DOUBLE_EQ(gen.g.degToRad, std::numbers::pi / 180);
}

// Parameter uniforms: branchFactor 1.5, widthFactor 2, trunkWidth 11, branchCount 1,
// spread 0.75; every later uniform is 0.5.
void shapeOfOneBranchPerLevel(ScriptedRandom& random) {
  random = std::move(ScriptedRandom({0.5f, 0.25f, 0.4f, 0.0f, 0.5f}).thenForever(0.5f));
}

TEST(RunTree, SeedsDrawsSetsUpThenDrawsCanvasTrunkAndLevelsInThatOrder) {
  Generator gen;
  shapeOfOneBranchPerLevel(gen.random);
  startUp(gen.g, gen.ports);
  gen.log.clear();

  runTree(gen.g, gen.ports);

  const Log& log = gen.log;
  ASSERT_GT(log.size(), 10u);
  // Seeded from the clock before any of the five parameter draws.
  EXPECT_EQ(gen.random.seeds, (std::vector<std::uint64_t>{5000, 5001}));
  EXPECT_EQ(log[0], "seed");
  for (int i = 1; i <= 5; ++i) EXPECT_EQ(log[i], "uniform") << i;
  // The set-up draws nothing; then the canvas.
  EXPECT_EQ(Log(log.begin() + 6, log.begin() + 10), (Log{"clear", "circle", "point", "text"}));

  // The trunk: lines only, and no uniform until it is finished.
  std::size_t i = 10;
  while (i < log.size() && log[i] == "line") ++i;
  ASSERT_GT(i, 10u) << "no trunk";
  ASSERT_LT(i, log.size());
  EXPECT_EQ(log[i], "uniform") << "the first level begins with its colour";
  EXPECT_EQ(log.back(), "poll") << "the last level ends with a poll";

  // The trunk was drawn with the half-widths of trunkWidth 11: its first fill line
  // starts 5.5 units left of the axis.
  const auto lines = gen.surface.ofKind(Kind::line);
  EXPECT_EQ(lines.front().colour, gen.g.trunkColor);
  EXPECT_EQ(lines.front().a, 314.5f);
  EXPECT_EQ(lines.front().b, 469.0f);
}

TEST(RunTree, APendingKeyIsForgottenBeforeTheTreeIsDrawn) {
  Generator gen;  // an empty script: a pause would wait for ever
  shapeOfOneBranchPerLevel(gen.random);
  startUp(gen.g, gen.ports);
  gen.events.lastKey = U'x';

  runTree(gen.g, gen.ports);

  EXPECT_GT(gen.events.processCalls, 0u);
  EXPECT_EQ(gen.events.waitCalls, 0u);
}

TEST(RunGenerator, StartsUpOnceThenDrawsTreesUntilTheQuitKey) {
  // Uniforms all 0: one branch a level, 25 levels a tree. The first tree takes
  // 25 polls, the second is quit at its sixth.
  std::vector<ScriptedPump::Batch> script(30);
  script.push_back({{U'q'}});
  Generator gen(script);
  static_cast<ScriptedRandom&>(gen.random) = std::move(ScriptedRandom().thenForever(0.0f));

  EXPECT_THROW(RunGenerator(gen.ports), ProgramEnded);

  EXPECT_TRUE(gen.events.ended);
  EXPECT_EQ(gen.events.processCalls, 31u);
  // One seed at start-up and one per tree begun, each a fresh reading of the clock.
  EXPECT_EQ(gen.random.seeds, (std::vector<std::uint64_t>{5000, 5001, 5002}));
  // Cleared at start-up and by each tree's canvas.
  EXPECT_EQ(gen.surface.ofKind(Kind::clear).size(), 3u);
  EXPECT_EQ(gen.surface.calls.front().kind, Kind::clear);
  EXPECT_EQ(gen.log[1], "seed");
}

}  // namespace
}  // namespace tilvera
