// One whole tree of the real generation cycle per input, its uniforms made of
// the input's bytes. Whatever the uniforms in [0, 1), every value handed to a
// primitive must be finite and near the tree, the 16-bit fields must hold their
// exact values, and the branch queue must stay inside its rows.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string_view>

#include "ByteUniforms.h"
#include "FuzzCheck.h"
#include "platform/Clock.h"
#include "platform/DrawingSurface.h"
#include "platform/EventPump.h"
#include "shell/GeneratorPorts.h"
#include "shell/GeneratorState.h"
#include "shell/Module1.h"

namespace tilvera::fuzz {
namespace {

// Every branch is at most half its level's length (randomness 0.5, randomBase 0),
// and the lengths of all levels add up to less than the series total of 2.7 x 479,
// so no tip gets further than about 647 units from the trunk's top across, 537
// down (times the aspect 0.83); rounding adds half a unit a level and the widest
// fan 10 units. A coordinate outside this box is a wrapped or runaway value.
constexpr double trunkTopX = 320, trunkTopY = 349;
constexpr double reach = 700;

bool nearTheTree(float x, float y) {
  return std::isfinite(x) && std::isfinite(y) && std::abs(x - trunkTopX) <= reach &&
         std::abs(y - trunkTopY) <= reach;
}

bool onTheSurface(float x, float y) {
  return std::isfinite(x) && std::isfinite(y) && x >= 0 && x < 640 && y >= 0 && y < 480;
}

class CheckingSurface : public DrawingSurface {
 public:
  void clearSurface() override {}
  void drawLine(float x1, float y1, float x2, float y2, Colour colour) override {
    require(nearTheTree(x1, y1) && nearTheTree(x2, y2), "a line end is finite and near the tree");
    require(colour <= 0xFFFFFF, "a line colour has its highest byte 0");
  }
  void drawCircle(float cx, float cy, float r, Colour colour) override {
    require(onTheSurface(cx, cy), "the disc is centred on the surface");
    require(std::isfinite(r) && r > 0 && r < 320, "the disc's radius fits the surface");
    require(colour <= 0xFFFFFF, "the disc's colour has its highest byte 0");
  }
  void plotPoint(float x, float y, Colour colour) override {
    require(onTheSurface(x, y), "the banner's point is on the surface");
    require(colour <= 0xFFFFFF, "the point's colour has its highest byte 0");
  }
  void printLine(std::string_view) override {}
  UnitPoint textPosition() const override { return {}; }
};

class FixedClock : public Clock {
 public:
  std::uint64_t nanosecondsSinceMidnight() override { return 0; }
};

// At every poll, the state growLevels hands over to the window system. No key
// is ever pressed, so the poll never waits and the program never ends.
class InspectingPump : public EventPump {
 public:
  explicit InspectingPump(const GeneratorState& g) : g_(g) {}

  void processPendingEvents() override {
    ++levels;
    require(g_.level == levels, "each level is polled once, in order");
    require(std::isfinite(g_.segmentLength) && g_.segmentLength >= 1,
            "a polled level was drawn with a finite length of at least 1");
    require(g_.branchColor <= 0xFFFFFF, "the branch colour has its highest byte 0");
    nodes += nextLevelNodes;
    nextLevelNodes *= g_.branchCount;
    require(nextLevelNodes <= std::numeric_limits<std::int16_t>::max() &&
                g_.nodesInLevel == nextLevelNodes,
            "nodesInLevel holds the exact node count in 16 bits");
    checkQueue();
  }
  void waitForEvents() override { require(false, "the poll waits only after a key"); }
  bool closeRequested() const override { return false; }
  [[noreturn]] void endProgram() override {
    require(false, "the program ends only on a key");
    std::abort();
  }

  int levels = 0;
  long nodes = 0;

 private:
  void checkQueue() {
    require(g_.lastPushRow >= 0 && g_.lastPushRow < queueCapacity,
            "a push lands in row 0 to 31999");
    require(g_.readBase >= 0 && g_.readBase < queueCapacity && g_.writeBase >= 0 &&
                g_.writeBase <= queueCapacity + 2,
            "the queue's bases stay within the ring and its gap");
    if (g_.level >= g_.levelCount) return;  // the last level queued nothing
    // The block the next level reads must not wrap round the ring, and its
    // angles, whole degrees, turn by less than 36.5 a level away from 90.
    const long lastRow = static_cast<long>(g_.readBase) + g_.nodesInLevel - 1;
    require(lastRow < queueCapacity, "a level's block does not wrap the ring");
    const double turnBound = 90 + 36.5 * g_.level;
    for (long row = g_.readBase; row <= lastRow; ++row) {
      const PendingBranch& tip = g_.branchQueue[static_cast<std::size_t>(row)];
      require(std::abs(tip.angle - 90) <= turnBound,
              "a queued angle stays within its levels' turn");
      require(nearTheTree(tip.x, tip.y), "a queued tip is near the tree");
      require(tip.unused == 0, "the queue's fourth cell is never written");
    }
  }

  const GeneratorState& g_;
  long nextLevelNodes = 1;
};

}  // namespace
}  // namespace tilvera::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tilvera;
  using namespace tilvera::fuzz;

  // A fresh state for every input, so that each one reproduces on its own.
  const auto g = std::make_unique<GeneratorState>();
  CheckingSurface surface;
  ByteUniforms random(data, size);
  FixedClock clock;
  InspectingPump events(*g);
  GeneratorPorts ports{surface, random, clock, events};

  startUp(*g, ports);
  const PendingBranch* rows = g->branchQueue.data();
  runTree(*g, ports);

  require(g->branchQueue.data() == rows && g->branchQueue.size() == queueRows,
          "the queue is never reallocated");
  require(events.levels == g->levelCount || g->segmentLength < 1,
          "a tree stops early only when its length falls below 1");
  require(random.drawn == 5 + events.nodes * (3 + 2 * g->branchCount),
          "five uniforms a tree, three a node and two a branch");
  return 0;
}
