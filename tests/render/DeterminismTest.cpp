// The same seed draws the same trees, byte for byte; tree k of a run is the
// first tree of a run seeded k - 1 later; a trace's uniforms replay the run.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RenderProgram.h"

namespace tilvera::testing {
namespace {

struct Outputs {
  std::string png;
  std::string trace;
};

Outputs render(const std::vector<std::string>& source, const std::string& trees = "1") {
  const ScratchDir dir;
  std::vector<std::string> arguments = source;
  arguments.insert(arguments.end(), {"--trees", trees, "--png", dir.file("tree.png"), "--trace",
                                     dir.file("tree.trace")});
  const ProgramRun run = runProgram(arguments);
  EXPECT_EQ(run.status, 0) << run.err;
  if (run.status != 0) return {};
  return {readFile(dir.file("tree.png")), readFile(dir.file("tree.trace"))};
}

// The records of tree `number`, without its "tree" record.
std::string recordsOfTree(const std::string& trace, int number) {
  const std::string marker = "tree " + std::to_string(number) + "\n";
  const auto begin = trace.find(marker);
  if (begin == std::string::npos) return "";
  const auto end = trace.find("\ntree ", begin);
  return trace.substr(begin + marker.size(), end == std::string::npos
                                                 ? std::string::npos
                                                 : end + 1 - begin - marker.size());
}

TEST(Determinism, TheSameSeedGivesTheSameImageAndTraceAndTheNextSeedAnother) {
  const Outputs first = render({"--seed", "42"});
  const Outputs again = render({"--seed", "42"});
  const Outputs next = render({"--seed", "43"});
  ASSERT_FALSE(first.trace.empty());
  EXPECT_TRUE(first.png == again.png);
  EXPECT_TRUE(first.trace == again.trace);
  EXPECT_FALSE(first.trace == next.trace);
  EXPECT_FALSE(first.png == next.png);
}

TEST(Determinism, TreeKOfARunIsTreeOneOfTheRunSeededKMinusOneLater) {
  const Outputs three = render({"--seed", "1000"}, "3");
  ASSERT_FALSE(three.trace.empty());
  for (int k = 1; k <= 3; ++k) {
    const Outputs single = render({"--seed", std::to_string(1000 + k - 1)});
    const std::string tree = recordsOfTree(three.trace, k);
    ASSERT_FALSE(tree.empty()) << "tree " << k;
    EXPECT_TRUE(tree == recordsOfTree(single.trace, 1)) << "tree " << k;
    // The image after the last tree does not depend on the trees before it.
    if (k == 3) {
      EXPECT_TRUE(three.png == single.png);
    }
  }
}

TEST(Determinism, TheUniformsOfATraceReplayItExactly) {
  const ScratchDir dir;
  const Outputs seeded = render({"--seed", "7"}, "2");
  std::string uniforms;
  for (const std::string& line : linesOf(seeded.trace))
    if (line.starts_with("u ")) uniforms += line.substr(2) + "\n";
  // "%.9g" writes a u below 1e-4 with an exponent; the replay must read it back.
  ASSERT_NE(uniforms.find("e-"), std::string::npos) << "this seed draws no u below 1e-4";
  const std::string path = dir.write("u.txt", uniforms);

  const Outputs replayed = render({"--uniforms", path}, "2");
  EXPECT_TRUE(replayed.trace == seeded.trace);
  EXPECT_TRUE(replayed.png == seeded.png);
}

TEST(Determinism, WithoutSeedOrUniformsTheTimeOfDaySeedsAWholeRun) {
  const Outputs timed = render({}, "2");
  EXPECT_TRUE(timed.png.starts_with("\x89PNG"));
  EXPECT_EQ(recordsOfTree(timed.trace, 2).substr(0, 2), "u ");
  // The clock reads nanoseconds since midnight: a run that fell back on a
  // fixed seed would draw seed 0's trees, whatever the hour.
  const Outputs zero = render({"--seed", "0"}, "2");
  EXPECT_NE(recordsOfTree(timed.trace, 1), recordsOfTree(zero.trace, 1));
  EXPECT_NE(recordsOfTree(timed.trace, 2), recordsOfTree(zero.trace, 2));
}

}  // namespace
}  // namespace tilvera::testing
