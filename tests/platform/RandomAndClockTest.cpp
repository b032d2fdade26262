#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "platform/PcgRandom.h"
#include "platform/SystemClock.h"

namespace tilvera {
namespace {

std::array<float, 8> firstDraws(std::uint64_t seed) {
  PcgRandom random(seed);
  std::array<float, 8> draws{};
  for (float& d : draws) d = random.uniform();
  return draws;
}

TEST(PcgRandom, DrawsLieInTheHalfOpenUnitIntervalAndFillIt) {
  PcgRandom random(12345);
  float lowest = 1, highest = 0;
  double sum = 0;
  constexpr int draws = 2'000'000;
  for (int n = 0; n < draws; ++n) {
    const float u = random.uniform();
    ASSERT_GE(u, 0.0f);
    ASSERT_LT(u, 1.0f);
    lowest = std::min(lowest, u), highest = std::max(highest, u);
    sum += u;
  }
  EXPECT_LT(lowest, 1e-5f);
  EXPECT_GT(highest, 1 - 1e-5f);
  EXPECT_NEAR(sum / draws, 0.5, 0.001);
}

TEST(PcgRandom, NearbySeedsGiveDifferentSequencesAndASeedRepeatsItsOwn) {
  const std::uint64_t clockReading = 43'200'000'000'000;  // noon, in nanoseconds
  for (std::uint64_t apart : {1, 1000}) {
    const auto a = firstDraws(clockReading), b = firstDraws(clockReading + apart);
    int same = 0;
    for (std::size_t n = 0; n < a.size(); ++n) same += a[n] == b[n];
    EXPECT_EQ(same, 0) << "seeds " << apart << " apart";
  }
  PcgRandom random(7);
  const float first = random.uniform(), second = random.uniform();
  random.seed(7);
  EXPECT_EQ(random.uniform(), first);
  EXPECT_EQ(random.uniform(), second);
  EXPECT_EQ(firstDraws(0), firstDraws(0));
}

TEST(SystemClock, ReadsTheTimeOfDayInNanoseconds) {
  SystemClock clock;
  const std::uint64_t first = clock.nanosecondsSinceMidnight();
  EXPECT_LT(first, 86'400'000'000'000ULL);
  std::uint64_t later = first;
  for (int n = 0; n < 1000 && later == first; ++n) later = clock.nanosecondsSinceMidnight();
  EXPECT_NE(later, first) << "the clock resolves below a microsecond's worth of calls";
  EXPECT_LT(later, 86'400'000'000'000ULL);
}

}  // namespace
}  // namespace tilvera
