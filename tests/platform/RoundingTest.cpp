#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "platform/Rounding.h"

namespace tilvera {
namespace {

struct Rounded {
  double value;
  std::int64_t expected;
};

TEST(RoundHalfEven, RoundsToNearestAndHalvesToTheEvenNeighbour) {
  const Rounded table[] = {{0.5, 0},
                           {1.5, 2},
                           {2.5, 2},
                           {-0.5, 0},
                           {-1.5, -2},
                           {-2.5, -2},
                           {319.5, 320},
                           {12.5, 12},
                           {0.49999999999999994, 0},
                           {-0.49999999999999994, 0},
                           {2.5000000000000004, 3},
                           {1e15 + 0.5, 1000000000000000},
                           {4503599627370495.5, 4503599627370496},
                           {-4503599627370495.5, -4503599627370496},
                           {9007199254740993.0, 9007199254740992},
                           {-1e18, -1000000000000000000},
                           {636.4999999, 636},
                           {438.5, 438},
                           {-0.0, 0}};
  for (const Rounded& r : table)
    EXPECT_EQ(roundHalfEven<std::int64_t>(r.value), r.expected) << r.value;
}

TEST(RoundHalfEven, NarrowTypesGetTheSameRounding) {
  EXPECT_EQ(roundHalfEven<std::int16_t>(32766.5), 32766);
  EXPECT_EQ(roundHalfEven<std::int16_t>(-32767.5), -32768);
  EXPECT_EQ(roundHalfEven<int>(-2147483647.5), -2147483648LL);
  EXPECT_EQ(roundHalfEven<unsigned>(254.5), 254u);
  EXPECT_EQ(roundHalfEven<unsigned>(255.5), 256u);
  EXPECT_EQ(roundHalfEven<unsigned>(4294967294.5), 4294967294u);
}

// A value that does not fit its field is a fault upstream; development builds stop on it.
TEST(RoundHalfEvenDeathTest, ValuesThatDoNotFitStopDevelopmentBuilds) {
  EXPECT_DEBUG_DEATH(roundHalfEven<std::int16_t>(32767.5), "");
  EXPECT_DEBUG_DEATH(roundHalfEven<std::int16_t>(std::nan("")), "");
  EXPECT_DEBUG_DEATH(roundHalfEven<unsigned>(-1.0), "");
}

// Whatever way it is computed, it must be std::nearbyint in the default mode:
// halves, quarters and arbitrary values across the ranges the program rounds.
TEST(RoundHalfEven, AgreesWithNearbyintEverywhereItIsUsed) {
  std::mt19937_64 random(3);
  std::uniform_real_distribution<double> wide(-3e9, 3e9), narrow(-700, 700);
  std::uniform_int_distribution<int> quarters(-4000, 4000);
  for (int n = 0; n < 100000; ++n) {
    for (double v : {wide(random), narrow(random), quarters(random) / 4.0}) {
      ASSERT_EQ(roundHalfEven<std::int64_t>(v), static_cast<std::int64_t>(std::nearbyint(v))) << v;
    }
  }
}

}  // namespace
}  // namespace tilvera
