// tilvera-bench: for 30 fixed seeds, the whole headless tree, the generator
// alone, the raster alone, the cost floor and Cairo, with a summary at the end.
// Any Google Benchmark flag may be given; without them every benchmark runs 5
// repetitions of at least 0.1 s.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include "BenchTree.h"
#include "PrimitiveStream.h"
#include "SummaryReporter.h"
#include "TreeRigs.h"
#include "platform/ImageSurface.h"

#ifdef TILVERA_BENCH_CAIRO
#include "CairoPeer.h"
#endif

namespace tilvera::bench {

namespace {

// Everything the timed loops work on, set up once.
struct Workbench {
  WholeTreeRig whole;
  CountingSurface counter;
  GeneratorRig generator{counter};
  Image image{imageWidth, imageHeight};
  ImageSurface surface{image, nullptr};
  Image cairoImage{imageWidth, imageHeight};
#ifdef TILVERA_BENCH_CAIRO
  CairoPeer cairo{cairoImage};
#endif
};

void countPerTree(benchmark::State& state, const BenchTree& tree) {
  using benchmark::Counter;
  state.counters["lines"] =
      Counter(static_cast<double>(tree.lines()), Counter::kIsIterationInvariantRate);
  state.counters["pixels"] =
      Counter(static_cast<double>(tree.pixels()), Counter::kIsIterationInvariantRate);
}

template <typename Body>
void add(Figure figure, const BenchTree& tree, Body body) {
  benchmark::RegisterBenchmark(benchmarkName(figure, tree.seed).c_str(),
                               [&tree, body](benchmark::State& state) {
                                 for (auto _ : state) {
                                   body();
                                   benchmark::ClobberMemory();
                                 }
                                 countPerTree(state, tree);
                               })
      ->Unit(benchmark::kMillisecond);
}

// A tree's five figures one after another, so that its ratios compare
// measurements taken moments apart on a machine whose load changes.
void registerTree(Workbench& w, const BenchTree& tree) {
  const std::uint64_t seed = tree.seed;
  add(Figure::whole, tree, [&w, seed] { w.whole.tree(seed); });
  add(Figure::generator, tree, [&w, seed] { w.generator.tree(seed); });
  add(Figure::raster, tree, [&w, &tree] { replay(tree.stream, w.surface); });
  add(Figure::floor, tree, [&w, &tree] { storeFloor(tree.floor, w.image.data()); });
#ifdef TILVERA_BENCH_CAIRO
  add(Figure::cairo, tree, [&w, &tree] { w.cairo.draw(tree.stream); });
#endif
}

std::vector<BenchTree> recordTrees() {
  std::vector<BenchTree> trees;
  for (std::uint64_t seed : benchSeeds()) trees.push_back(recordTree(seed));
  return trees;
}

void warnOfUnevenGroups(const std::vector<BenchTree>& trees) {
  for (LineGroup group : {LineGroup::light, LineGroup::typical, LineGroup::heavy}) {
    long count = 0;
    for (const BenchTree& tree : trees) count += tree.group == group;
    if (count != seedsPerGroup)
      std::fprintf(
          stderr,
          "tilvera-bench: %ld seeds now fall %s; run tilvera-seed-scan and renew the seeds\n",
          count, describe(group));
  }
}

}  // namespace

}  // namespace tilvera::bench

int main(int argc, char** argv) {
  using namespace tilvera::bench;
  // Defaults first: flags given on the command line come later and win.
  std::vector<char*> arguments{argv[0], const_cast<char*>("--benchmark_repetitions=5"),
                               const_cast<char*>("--benchmark_min_time=0.1")};
  arguments.insert(arguments.end(), argv + 1, argv + argc);
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 1;

  try {
    const std::vector<BenchTree> trees = recordTrees();
    warnOfUnevenGroups(trees);
    const auto workbench = std::make_unique<Workbench>();
    for (const BenchTree& tree : trees) registerTree(*workbench, tree);
#ifndef TILVERA_BENCH_CAIRO
    std::fprintf(stderr, "tilvera-bench: built without Cairo (libcairo2-dev): no peer figures\n");
#endif
    SummaryReporter reporter(trees);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tilvera-bench: %s\n", error.what());
    return 1;
  }
  return 0;
}
