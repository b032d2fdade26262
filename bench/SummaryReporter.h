#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "BenchTree.h"

namespace tilvera::bench {

// What is timed for every tree, in the order the benchmarks run.
enum class Figure { whole, generator, raster, floor, cairo };
inline constexpr Figure allFigures[] = {Figure::whole, Figure::generator, Figure::raster,
                                        Figure::floor, Figure::cairo};
const char* nameOf(Figure figure);

// The benchmark of a figure for a seed is called "<figure>/seed:<seed>".
std::string benchmarkName(Figure figure, std::uint64_t seed);

// Prints one line per tree as its figures come in, and at the end, per group
// of trees and for all of them, the medians of every figure (ms per tree,
// lines/s, pixels/s) and of the ratios raster / floor, whole tree / floor and
// Cairo / raster. Every time is CPU time per iteration, each tree's figure the
// median of its repetitions; the ratios are taken tree by tree, within this run.
class SummaryReporter : public benchmark::BenchmarkReporter {
 public:
  explicit SummaryReporter(const std::vector<BenchTree>& trees);

  bool ReportContext(const Context& context) override;
  void ReportRuns(const std::vector<Run>& runs) override;
  void Finalize() override;

 private:
  struct TreeTimes {
    std::map<Figure, std::vector<double>> seconds;  // one a repetition
  };
  void printTreeLine(std::uint64_t seed);
  void printGroup(const char* title, const std::vector<const BenchTree*>& trees);
  void printTargets(const std::vector<const BenchTree*>& all);
  double medianSeconds(std::uint64_t seed, Figure figure) const;
  double medianRatio(const std::vector<const BenchTree*>& trees, Figure over, Figure under) const;

  const std::vector<BenchTree>& trees_;
  std::map<std::uint64_t, TreeTimes> times_;
  std::uint64_t currentSeed_ = 0;
  bool anySeed_ = false;
};

}  // namespace tilvera::bench
