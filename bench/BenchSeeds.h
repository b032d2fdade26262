#pragma once

#include <cstdint>
#include <span>

namespace tilvera::bench {

// Trees are grouped by how many one-pixel primitives (lines and the point)
// they draw: the cost of a tree grows with them.
enum class LineGroup { light, typical, heavy };

inline constexpr long typicalFrom = 10'000;
inline constexpr long heavyFrom = 40'000;
inline constexpr int seedsPerGroup = 10;

LineGroup lineGroupOf(long lines);
const char* describe(LineGroup group);

// The suite's 30 seeds: counting up from seed 1, the first ten whose tree falls
// in each group (tilvera-seed-scan prints the scan they come from).
std::span<const std::uint64_t> benchSeeds();

}  // namespace tilvera::bench
