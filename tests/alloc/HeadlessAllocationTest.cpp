// Start-up may allocate; after the first tree nothing is allocated again, for
// any number of trees, light or heavy, with the trace written or not.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

#include "AllocationCounter.h"
#include "render/HeadlessPlatform.h"
#include "render/OutputFile.h"
#include "render/RenderOptions.h"
#include "shell/Module1.h"

namespace tilvera::testing {
namespace {

std::unique_ptr<int> kept;  // escapes, so the allocation cannot be left out

TEST(AllocationCounter, SeesAnAllocation) {
  const long before = allocationsSoFar();
  kept = std::make_unique<int>(7);
  EXPECT_EQ(allocationsSoFar() - before, 1);
}

// The cycle as tilvera-render runs it: one start-up, then one turn per tree,
// each seeded one later than the one before.
class HeadlessRun {
 public:
  explicit HeadlessRun(bool traced)
      : trace_(traced ? std::optional<OutputFile>(std::in_place, "/dev/null") : std::nullopt),
        platform_(seeded(), nullptr, trace_ ? &*trace_ : nullptr, stderr),
        ports_(platform_.ports()) {
    startUp(state_, ports_);
  }

  void tree(std::uint64_t seed) {
    if (TraceWriter* trace = platform_.trace()) trace->tree(seed);
    platform_.seedClock().set(seed);
    runTree(state_, ports_);
  }

 private:
  static RenderOptions seeded() {
    RenderOptions options;
    options.seed = 1;
    return options;
  }

  std::optional<OutputFile> trace_;
  HeadlessPlatform platform_;
  GeneratorPorts ports_;
  GeneratorState state_;
};

class HeadlessAllocations : public ::testing::TestWithParam<bool> {};

TEST_P(HeadlessAllocations, NothingIsAllocatedAfterTheFirstTree) {
  HeadlessRun run(GetParam());
  run.tree(1);
  const long afterFirstTree = allocationsSoFar();
  // Seeds 1 to 60 draw trees of 60 to 138,000 lines, of every branch count.
  for (std::uint64_t seed = 2; seed <= 60; ++seed) run.tree(seed);
  run.tree(90);  // one of the heaviest trees of the first few hundred seeds
  EXPECT_EQ(allocationsSoFar() - afterFirstTree, 0);
}

INSTANTIATE_TEST_SUITE_P(TraceOffAndOn, HeadlessAllocations, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "traced" : "untraced"; });

}  // namespace
}  // namespace tilvera::testing
