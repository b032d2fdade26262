#pragma once

#include <cstdio>

namespace tilvera::fuzz {

// A broken property ends the run at once, so that libFuzzer keeps the input
// that broke it; the message says which property it was.
inline void require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  __builtin_trap();
}

}  // namespace tilvera::fuzz
