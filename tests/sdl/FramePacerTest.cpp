#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sdl/FramePacer.h"

namespace tilvera {
namespace {

constexpr std::uint64_t ms = 1'000'000;

TEST(FramePacer, TheRefreshRateSetsThePeriod) {
  EXPECT_EQ(FramePacer(60).period(), 16'666'666u);
  EXPECT_EQ(FramePacer(144).period(), 6'944'444u);
  EXPECT_EQ(FramePacer(0).period(), FramePacer(60).period()) << "an unknown rate";
  EXPECT_EQ(FramePacer(-1).period(), FramePacer(60).period());
}

// A series of presents wanted at the given times, at 100 Hz (10 ms a refresh).
TEST(FramePacer, PresentsComeAtMostOneARefreshAndLateOnesStartAfresh) {
  struct Step {
    std::string what;
    std::uint64_t wantedAt;
    std::uint64_t expectedWait;
  };
  const std::vector<Step> steps = {
      {"the first present waits for nothing", 1000 * ms, 0},
      {"one wanted at once waits a whole refresh", 1000 * ms, 10 * ms},
      {"one wanted 4 ms later waits for the rest of its refresh", 1014 * ms, 6 * ms},
      {"one wanted exactly on time", 1030 * ms, 0},
      {"one wanted late is not held back", 1055 * ms, 0},
      {"and the next is due a refresh after the late one, not sooner", 1056 * ms, 9 * ms},
  };
  FramePacer pacer(100);
  for (const Step& step : steps)
    EXPECT_EQ(pacer.waitBefore(step.wantedAt), step.expectedWait) << step.what;
}

// Drawing as fast as it can, a tree of levels is shown at the display's pace.
TEST(FramePacer, AnyRunOfPresentsTakesAtLeastOneRefreshEach) {
  FramePacer pacer(60);
  std::uint64_t now = 5 * ms;
  for (int present = 0; present < 120; ++present) {
    now += pacer.waitBefore(now);
    now += 100'000;  // a level drawn in a tenth of a millisecond
  }
  EXPECT_GE(now - 5 * ms, 119 * pacer.period());
  EXPECT_LE(now - 5 * ms, 120 * pacer.period() + 120 * 100'000);
}

}  // namespace
}  // namespace tilvera
