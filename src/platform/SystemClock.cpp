#include "platform/SystemClock.h"

#include <time.h>

#include <algorithm>
#include <chrono>

namespace tilvera {

std::uint64_t SystemClock::nanosecondsSinceMidnight() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  // The wall-clock reading, not the time elapsed since midnight: on a day the
  // clocks change the two differ, and only the reading stays below 24 hours.
  // A leap second (tm_sec 60) is folded into the second before it.
  const long secondOfDay = local.tm_hour * 3600L + local.tm_min * 60L + std::min(local.tm_sec, 59);
  const auto withinSecond = duration_cast<nanoseconds>(now - system_clock::from_time_t(seconds));
  const auto fraction = std::clamp<std::int64_t>(withinSecond.count(), 0, 999'999'999);
  return static_cast<std::uint64_t>(secondOfDay) * 1'000'000'000ULL +
         static_cast<std::uint64_t>(fraction);
}

}  // namespace tilvera
