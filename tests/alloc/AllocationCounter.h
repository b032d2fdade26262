#pragma once

namespace tilvera::testing {

// How many times the global operator new (any form) has been called in this
// program so far.
long allocationsSoFar();

}  // namespace tilvera::testing
