// Small uniforms files whose traces must stay exactly as they were. After a
// deliberate change of the drawing, regenerate the expected files with
//   TILVERA_UPDATE_GOLDEN=1 ctest -R GoldenTrace
// and review the diff. On a mismatch the actual output is written beside the
// expected file, as NAME.trace.actual, for diffing.

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "RenderProgram.h"

namespace tilvera::testing {
namespace {

const std::string fixtures = TILVERA_RENDER_FIXTURES;

bool updating() {
  const char* flag = std::getenv("TILVERA_UPDATE_GOLDEN");
  return flag && std::string(flag) == "1";
}

std::uint64_t fnv1a64(const std::string& bytes) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (unsigned char byte : bytes) hash = (hash ^ byte) * 0x100000001b3u;
  return hash;
}

// Stands in for a trace too large to keep: its size, a hash of every byte, and
// how many records of each kind it holds, which tells roughly what changed.
std::string digestOf(const std::string& trace) {
  std::map<std::string, long> kinds;
  long lines = 0;
  for (const std::string& line : linesOf(trace)) {
    ++lines;
    ++kinds[line.substr(0, line.find(' '))];
  }
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016" PRIx64, fnv1a64(trace));
  std::string digest = "bytes " + std::to_string(trace.size()) + "\nlines " +
                       std::to_string(lines) + "\nfnv1a64 " + hash + "\n";
  for (const auto& [kind, count] : kinds)
    digest += "records " + kind + " " + std::to_string(count) + "\n";
  return digest;
}

struct Golden {
  std::string name;
  int trees;
  bool digestOnly;  // the trace runs to a megabyte: keep its digest
};

void PrintTo(const Golden& golden, std::ostream* out) {
  *out << golden.name;
}

class GoldenTrace : public ::testing::TestWithParam<Golden> {};

TEST_P(GoldenTrace, StaysByteForByteAsItWas) {
  const Golden& golden = GetParam();
  const ScratchDir dir;
  const ProgramRun run =
      runProgram({"--uniforms", fixtures + "/" + golden.name + ".uniforms", "--trees",
                  std::to_string(golden.trees), "--trace", dir.file("trace")});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string trace = readFile(dir.file("trace"));
  const std::string actual = golden.digestOnly ? digestOf(trace) : trace;
  const std::string expectedPath =
      fixtures + "/" + golden.name + (golden.digestOnly ? ".digest" : ".trace");

  if (updating()) {
    writeFile(expectedPath, actual);
    std::printf("rewrote %s\n", expectedPath.c_str());
    return;
  }
  if (actual == readFile(expectedPath)) return;
  const std::string actualPath = fixtures + "/" + golden.name + ".trace.actual";
  writeFile(actualPath, trace);
  ADD_FAILURE() << "the trace of " << golden.name << " changed; it is in " << actualPath
                << (golden.digestOnly ? "" : ", to diff with " + expectedPath)
                << ". If the change is intended, run with TILVERA_UPDATE_GOLDEN=1.";
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, GoldenTrace,
    ::testing::Values(
        // One branch a level, the length halved each level: cut short at level 10, without a poll.
        Golden{"one-branch-cut-short", 1, false},
        // branchFactor exactly 1: 25 levels of equal length, the last ones off the top.
        Golden{"branch-factor-one", 1, false},
        // Both in one run: the second tree starts from a clean queue and canvas.
        Golden{"two-trees", 2, false},
        // Four branches a fork over six full levels: 1365 nodes, 5460 branches.
        Golden{"branch-count-four", 1, true}),
    [](const ::testing::TestParamInfo<Golden>& info) {
      std::string name;
      for (char c : info.param.name)
        if (c != '-') name += c;
      return name;
    });

}  // namespace
}  // namespace tilvera::testing
