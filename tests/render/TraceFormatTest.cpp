// The trace, version 1: what each record looks like, how a run begins, and
// what a tree's records must add up to.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "RenderProgram.h"
#include "growth/Canvas.h"
#include "platform/Rounding.h"
#include "render/HeadlessPump.h"
#include "render/TraceWriter.h"
#include "render/TracingRandom.h"
#include "render/TracingSurface.h"
#include "shell/Keyboard.h"
#include "support/RecordingSurface.h"
#include "support/ScriptedRandom.h"

namespace tilvera::testing {
namespace {

// A trace written into memory.
class MemoryTrace {
 public:
  MemoryTrace() : stream_(::open_memstream(&buffer_, &size_)), writer(stream_) {}
  ~MemoryTrace() {
    std::fclose(stream_);
    std::free(buffer_);
  }
  std::string text() {
    std::fflush(stream_);
    return std::string(buffer_, size_);
  }

 private:
  char* buffer_ = nullptr;
  std::size_t size_ = 0;
  std::FILE* stream_;

 public:
  TraceWriter writer;
};

TEST(TraceFormat, EachRecordIsOneLineOfBlankSeparatedFields) {
  MemoryTrace trace;
  trace.writer.tree(18446744073709551615u);
  trace.writer.uniform(0.1f);
  trace.writer.uniform(0x1p-24f);
  trace.writer.clear();
  trace.writer.line(0.5f, -2.25f, 1e7f, 213.395f, rgb(50, 100, 50));
  trace.writer.circle(319.5f, 234.5f, 213.395f, rgb(255, 255, 255));
  trace.writer.point(127.8f, 20, 8);
  trace.writer.text(127.8f, 20, "TILVERA. Árboles");
  trace.writer.poll();
  // Nine significant digits name every float exactly: 0.1f is 0.100000001.
  EXPECT_EQ(trace.text(),
            "tree 18446744073709551615\n"
            "u 0.100000001\n"
            "u 5.96046448e-08\n"
            "clear\n"
            "line 0.5 -2.25 10000000 213.395004 3302450\n"
            "circle 319.5 234.5 213.395004 16777215\n"
            "point 127.800003 20 8\n"
            "text 127.800003 20 TILVERA. Árboles\n"
            "poll\n");
}

TEST(TraceFormat, DecoratorsRecordWhatTheyHandOnAndTextWhereItBegins) {
  MemoryTrace trace;
  RecordingSurface surface;
  TracingSurface tracing(surface, trace.writer);
  ScriptedRandom random({0.25f, 0.75f});
  TracingRandom tracingRandom(random, trace.writer);

  tracing.clearSurface();
  tracing.plotPoint(10, 20, 255);
  tracing.printLine("one");
  tracing.printLine("two");  // begins where the first line sent the text position
  tracing.drawLine(1, 2, 3, 4, 5);
  tracing.drawCircle(6, 7, 8, 9);
  tracingRandom.seed(99);
  EXPECT_EQ(tracingRandom.uniform(), 0.25f);
  EXPECT_EQ(tracingRandom.uniform(), 0.75f);

  EXPECT_EQ(trace.text(),
            "clear\npoint 10 20 255\ntext 10 20 one\ntext 0 36 two\nline 1 2 3 4 5\n"
            "circle 6 7 8 9\nu 0.25\nu 0.75\n");
  ASSERT_EQ(surface.calls.size(), 6u);
  EXPECT_EQ(surface.calls[3].text, "two");
  EXPECT_EQ(surface.calls[4].colour, 5u);
  EXPECT_EQ(random.seeds, std::vector<std::uint64_t>{99});
}

TEST(TraceFormat, TheHeadlessPollRecordsItselfAndNeverWaits) {
  MemoryTrace trace;
  HeadlessPump pump(&trace.writer);
  pollKeyboard(pump);
  pollKeyboard(pump);
  EXPECT_EQ(trace.text(), "poll\npoll\n");
  EXPECT_FALSE(pump.closeRequested());
  EXPECT_DEATH(pump.endProgram(), "tilvera-render: internal error");
}

std::string renderedTrace(const std::vector<std::string>& arguments) {
  const ScratchDir dir;
  std::vector<std::string> all = arguments;
  all.insert(all.end(), {"--trace", dir.file("t")});
  const ProgramRun run = runProgram(all);
  EXPECT_EQ(run.status, 0) << run.err;
  return run.status == 0 ? readFile(dir.file("t")) : "";
}

TEST(TraceFormat, ARunBeginsWithTheStartUpClearThenTheTreeAndItsCanvas) {
  const std::vector<std::string> lines = linesOf(renderedTrace({"--seed", "3"}));
  ASSERT_GT(lines.size(), 12u);
  EXPECT_EQ(lines[0], "clear");
  EXPECT_EQ(lines[1], "tree 1");
  for (int i = 2; i < 7; ++i) EXPECT_TRUE(lines[i].starts_with("u ")) << lines[i];
  EXPECT_EQ(lines[7], "clear");
  EXPECT_EQ(lines[8], "circle 319.5 234.5 213.395004 16777215");
  EXPECT_EQ(lines[9], "point 127.800003 20 16777215");
  EXPECT_EQ(lines[10], "text 127.800003 20 " + std::string(bannerText));
  EXPECT_TRUE(lines[11].starts_with("line ") && lines[11].ends_with(" 8")) << lines[11];
}

// One tree of a trace, summed up from its records.
struct TreeTally {
  std::vector<float> uniforms;
  std::map<std::string, int> records;
};

// Checks the shape of every record on the way.
std::vector<TreeTally> tallyTrees(const std::string& trace) {
  const std::map<std::string, std::size_t> fields = {{"u", 1},      {"clear", 0}, {"line", 5},
                                                     {"circle", 4}, {"point", 3}, {"poll", 0}};
  std::vector<TreeTally> trees;
  for (const std::string& line : linesOf(trace)) {
    std::istringstream in(line);
    std::string kind;
    in >> kind;
    if (kind == "tree") {
      trees.emplace_back();
      int number = 0;
      in >> number;
      EXPECT_EQ(number, static_cast<int>(trees.size()));
      continue;
    }
    if (kind == "text") continue;
    const auto expected = fields.find(kind);
    if (expected == fields.end()) {
      ADD_FAILURE() << "unknown record: " << line;
      continue;
    }
    std::vector<double> values;
    for (double value; in >> value;) {
      EXPECT_TRUE(std::isfinite(value)) << line;
      values.push_back(value);
    }
    EXPECT_TRUE(in.eof()) << line;
    EXPECT_EQ(values.size(), expected->second) << line;
    if (trees.empty()) continue;  // the start-up clear
    ++trees.back().records[kind];
    if (kind == "u") trees.back().uniforms.push_back(std::strtof(line.c_str() + 2, nullptr));
  }
  return trees;
}

TEST(TraceFormat, EveryTreeDrawsFivePlusThreePerNodePlusTwoPerBranchUniforms) {
  const std::vector<TreeTally> trees = tallyTrees(renderedTrace({"--seed", "11", "--trees", "8"}));
  ASSERT_EQ(trees.size(), 8u);
  for (std::size_t t = 0; t < trees.size(); ++t) {
    const TreeTally& tree = trees[t];
    ASSERT_GE(tree.uniforms.size(), 5u);
    // The fourth draw fixes the fork size; the polls count the levels drawn.
    const int branchCount = roundHalfEven<int>(3.0 * tree.uniforms[3] + 1);
    const int levels = tree.records.count("poll") ? tree.records.at("poll") : 0;
    EXPECT_GE(levels, 1);
    EXPECT_LE(levels, roundHalfEven<int>(25.0 / branchCount));
    long nodes = 0, branches = 0, width = 1;
    for (int level = 1; level <= levels; ++level) {
      nodes += width;
      width *= branchCount;
      branches += width;
    }
    EXPECT_EQ(static_cast<long>(tree.uniforms.size()), 5 + 3 * nodes + 2 * branches)
        << "tree " << t + 1 << ": branchCount " << branchCount << ", " << levels << " levels";
    EXPECT_EQ(tree.records.at("clear"), 1);
    EXPECT_EQ(tree.records.at("circle"), 1);
    EXPECT_EQ(tree.records.at("point"), 1);
  }
}

}  // namespace
}  // namespace tilvera::testing
