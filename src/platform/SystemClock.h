#pragma once

#include "Clock.h"

namespace tilvera {

// The local time of day from the system clock, at the clock's full resolution.
class SystemClock final : public Clock {
 public:
  std::uint64_t nanosecondsSinceMidnight() override;
};

}  // namespace tilvera
