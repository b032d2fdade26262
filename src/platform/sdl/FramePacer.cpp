#include "platform/sdl/FramePacer.h"

#include <algorithm>

namespace tilvera {

namespace {

constexpr int unknownRefreshRate = 60;
constexpr std::uint64_t nanosecondsPerSecond = 1'000'000'000;

}  // namespace

FramePacer::FramePacer(int refreshRate)
    : period_(nanosecondsPerSecond /
              static_cast<std::uint64_t>(refreshRate > 0 ? refreshRate : unknownRefreshRate)) {}

std::uint64_t FramePacer::waitBefore(std::uint64_t now) {
  const std::uint64_t presentAt = std::max(now, due_);
  due_ = presentAt + period_;
  return presentAt - now;
}

}  // namespace tilvera
