// Start-up may allocate; after the first tree nothing is allocated again, for
// any number of trees, light or heavy, with the trace written or not.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "AllocationCounter.h"
#include "render/HeadlessPlatform.h"
#include "render/OutputFile.h"
#include "render/RenderOptions.h"
#include "shell/Module1.h"

namespace tilvera::testing {
namespace {

struct alignas(64) Wide {
  char bytes[64];
};

// Escapes, so that no allocation below can be left out by the compiler.
void* volatile kept = nullptr;

// Each way a library beneath the generator could take memory is counted.
TEST(AllocationCounter, SeesEveryKindOfAllocation) {
  struct Case {
    const char* name;
    void* (*allocate)();
    void (*release)(void*);
  };
  const auto freeIt = [](void* memory) { std::free(memory); };
  const Case cases[] = {
      {"new", [] { return static_cast<void*>(new int(7)); },
       [](void* memory) { delete static_cast<int*>(memory); }},
      {"aligned new", [] { return static_cast<void*>(new Wide{}); },
       [](void* memory) { delete static_cast<Wide*>(memory); }},
      {"malloc", [] { return std::malloc(24); }, freeIt},
      {"calloc", [] { return std::calloc(3, 8); }, freeIt},
      {"realloc", [] { return std::realloc(nullptr, 24); }, freeIt},
      {"aligned_alloc", [] { return std::aligned_alloc(64, 128); }, freeIt},
      {"posix_memalign",
       [] {
         void* memory = nullptr;
         return ::posix_memalign(&memory, 64, 128) == 0 ? memory : nullptr;
       },
       freeIt},
      {"strdup, inside the C library", [] { return static_cast<void*>(::strdup("tilvera")); },
       freeIt},
  };
  for (const Case& c : cases) {
    const long before = allocationsSoFar();
    kept = c.allocate();
    EXPECT_EQ(allocationsSoFar() - before, 1) << c.name;
    c.release(kept);
  }
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
