#pragma once

#include <cstdint>

namespace tilvera {

// Keeps presents at most one a display refresh, for renderers that do not wait
// for the refresh themselves. Without it such a renderer shows every level as
// soon as it is drawn: hundreds of trees a second, none of them watchable, at
// the cost of a whole processor core. Times are in nanoseconds on any steady clock.
class FramePacer {
 public:
  // `refreshRate` in hertz, as the display reports it; 0 or less (unknown)
  // counts as 60.
  explicit FramePacer(int refreshRate);

  // How long to wait before a present wanted at `now`. The next present is due
  // one refresh after this one; a present that comes later than its time is
  // not made up for by a burst, the schedule starts again from it.
  std::uint64_t waitBefore(std::uint64_t now);

  std::uint64_t period() const { return period_; }

 private:
  std::uint64_t period_;
  std::uint64_t due_ = 0;
};

}  // namespace tilvera
