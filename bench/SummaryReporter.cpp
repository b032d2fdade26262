#include "SummaryReporter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <sstream>

namespace tilvera::bench {

namespace {

double median(std::vector<double> values) {
  values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }),
               values.end());
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

bool parseName(const std::string& name, Figure& figure, std::uint64_t& seed) {
  const auto cut = name.find("/seed:");
  if (cut == std::string::npos) return false;
  for (Figure f : allFigures)
    if (name.compare(0, cut, nameOf(f)) == 0) {
      figure = f;
      seed = std::stoull(name.substr(cut + 6));
      return true;
    }
  return false;
}

std::string format(const char* pattern, double value) {
  if (std::isnan(value)) return "-";
  char text[32];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

// 1234567 as "1,234,567".
std::string grouped(long value) {
  std::string digits = std::to_string(value), out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

// A rate with a unit prefix: "92.4 M".
std::string rate(double perSecond) {
  if (std::isnan(perSecond)) return "-";
  if (perSecond >= 1e9) return format("%.2f G", perSecond / 1e9);
  if (perSecond >= 1e6) return format("%.1f M", perSecond / 1e6);
  return format("%.1f k", perSecond / 1e3);
}

}  // namespace

const char* nameOf(Figure figure) {
  switch (figure) {
    case Figure::whole:
      return "whole";
    case Figure::generator:
      return "generator";
    case Figure::raster:
      return "raster";
    case Figure::floor:
      return "floor";
    case Figure::cairo:
      return "cairo";
  }
  return "";
}

std::string benchmarkName(Figure figure, std::uint64_t seed) {
  return std::string(nameOf(figure)) + "/seed:" + std::to_string(seed);
}

SummaryReporter::SummaryReporter(const std::vector<BenchTree>& trees) : trees_(trees) {}

bool SummaryReporter::ReportContext(const Context& context) {
  PrintBasicContext(&GetErrorStream(), context);
  GetOutputStream() << "Per tree: CPU ms per tree, medians of the repetitions\n";
  return true;
}

void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
  for (const Run& run : runs) {
    Figure figure;
    std::uint64_t seed;
    if (run.run_type != Run::RT_Iteration || !parseName(run.benchmark_name(), figure, seed))
      continue;
    if (run.error_occurred) {
      GetErrorStream() << run.benchmark_name() << ": " << run.error_message << "\n";
      continue;
    }
    if (anySeed_ && seed != currentSeed_) printTreeLine(currentSeed_);
    currentSeed_ = seed;
    anySeed_ = true;
    times_[seed].seconds[figure].push_back(run.cpu_accumulated_time /
                                           static_cast<double>(run.iterations));
  }
}

double SummaryReporter::medianRatio(const std::vector<const BenchTree*>& trees, Figure over,
                                    Figure under) const {
  std::vector<double> ratios;
  for (const BenchTree* tree : trees)
    ratios.push_back(medianSeconds(tree->seed, over) / medianSeconds(tree->seed, under));
  return median(ratios);
}

double SummaryReporter::medianSeconds(std::uint64_t seed, Figure figure) const {
  const auto tree = times_.find(seed);
  if (tree == times_.end()) return NAN;
  const auto figureTimes = tree->second.seconds.find(figure);
  return figureTimes == tree->second.seconds.end() ? NAN : median(figureTimes->second);
}

void SummaryReporter::printTreeLine(std::uint64_t seed) {
  const auto tree = std::find_if(trees_.begin(), trees_.end(),
                                 [seed](const BenchTree& t) { return t.seed == seed; });
  if (tree == trees_.end()) return;
  std::ostringstream line;
  char head[80];
  std::snprintf(head, sizeof head, "  seed %-4llu %9s lines %10s px ",
                static_cast<unsigned long long>(seed), grouped(tree->lines()).c_str(),
                grouped(tree->pixels()).c_str());
  line << head;
  for (Figure figure : allFigures)
    line << "  " << nameOf(figure) << " " << format("%.3f", medianSeconds(seed, figure) * 1e3);
  GetOutputStream() << line.str() << std::endl;
}

void SummaryReporter::printGroup(const char* title, const std::vector<const BenchTree*>& trees) {
  std::vector<double> lines, pixels;
  for (const BenchTree* tree : trees) {
    lines.push_back(static_cast<double>(tree->lines()));
    pixels.push_back(static_cast<double>(tree->pixels()));
  }
  std::ostream& out = GetOutputStream();
  char text[160];
  std::snprintf(text, sizeof text, "\n%s: %zu trees, median %s lines and %s pixels a tree\n", title,
                trees.size(), grouped(std::lround(median(lines))).c_str(),
                grouped(std::lround(median(pixels))).c_str());
  out << text;
  std::snprintf(text, sizeof text, "  %-34s %10s %12s %12s %9s\n", "figure", "ms/tree", "lines/s",
                "pixels/s", "ns/line");
  out << text;
  const char* labels[] = {"whole headless tree", "generator alone (counting surface)",
                          "raster alone (replayed stream)", "floor (plain stores)",
                          "Cairo (aliased, width 1)"};
  for (Figure figure : allFigures) {
    std::vector<double> ms, linesPerSecond, pixelsPerSecond;
    for (const BenchTree* tree : trees) {
      const double seconds = medianSeconds(tree->seed, figure);
      ms.push_back(seconds * 1e3);
      linesPerSecond.push_back(tree->lines() / seconds);
      pixelsPerSecond.push_back(tree->pixels() / seconds);
    }
    const double medianRate = median(linesPerSecond);
    std::snprintf(text, sizeof text, "  %-34s %10s %12s %12s %9s\n",
                  labels[static_cast<int>(figure)], format("%.3f", median(ms)).c_str(),
                  rate(medianRate).c_str(), rate(median(pixelsPerSecond)).c_str(),
                  format("%.1f", 1e9 / medianRate).c_str());
    out << text;
  }
  const auto ratio = [&](Figure over, Figure under) { return medianRatio(trees, over, under); };
  std::snprintf(text, sizeof text,
                "  ratios: raster / floor %s   whole tree / floor %s   Cairo / raster %s\n",
                format("%.2f", ratio(Figure::raster, Figure::floor)).c_str(),
                format("%.2f", ratio(Figure::whole, Figure::floor)).c_str(),
                format("%.1f", ratio(Figure::cairo, Figure::raster)).c_str());
  out << text;
}

void SummaryReporter::printTargets(const std::vector<const BenchTree*>& all) {
  struct Target {
    const char* what;
    Figure over, under;
    bool atMost;
    double bound;
  };
  const Target targets[] = {{"raster / floor", Figure::raster, Figure::floor, true, 1.5},
                            {"whole tree / floor", Figure::whole, Figure::floor, true, 2.0},
                            {"Cairo / raster", Figure::cairo, Figure::raster, false, 25.0}};
  GetOutputStream() << "\nTargets over all trees\n";
  for (const Target& target : targets) {
    const double value = medianRatio(all, target.over, target.under);
    const char* verdict = std::isnan(value) ? "not measured"
                          : (target.atMost ? value <= target.bound : value >= target.bound)
                              ? "holds"
                              : "missed";
    char text[120];
    std::snprintf(text, sizeof text, "  %-20s %8s  (target %s %.1f)  %s\n", target.what,
                  format("%.2f", value).c_str(), target.atMost ? "<=" : ">=", target.bound,
                  verdict);
    GetOutputStream() << text;
  }
}

void SummaryReporter::Finalize() {
  if (anySeed_) printTreeLine(currentSeed_);
  std::vector<const BenchTree*> all;
  std::map<LineGroup, std::vector<const BenchTree*>> groups;
  for (const BenchTree& tree : trees_) {
    if (!times_.count(tree.seed)) continue;
    all.push_back(&tree);
    groups[tree.group].push_back(&tree);
  }
  if (all.empty()) {
    // Flags such as --benchmark_report_aggregates_only hand over no single
    // repetition, and a median of nothing would print as nonsense.
    GetOutputStream() << "\nNo tree was measured: the summary needs the repetitions themselves"
                         " (leave out --benchmark_report_aggregates_only)\n"
                      << std::flush;
    return;
  }
  GetOutputStream() << "\nMedians over the trees (CPU time; ratios taken tree by tree)\n";
  for (const auto& [group, trees] : groups) printGroup(describe(group), trees);
  printGroup("All trees", all);
  printTargets(all);
  GetOutputStream() << std::flush;
}

}  // namespace tilvera::bench
