#pragma once

namespace tilvera::testing {

// How many heap allocations this program has made so far: any form of the
// global operator new, and malloc, calloc, realloc and the aligned allocators,
// whoever calls them.
long allocationsSoFar();

}  // namespace tilvera::testing
