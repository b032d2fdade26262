#include "render/HeadlessPump.h"

#include <cstdio>
#include <cstdlib>

namespace tilvera {

namespace {

[[noreturn]] void internalError(const char* what) {
  std::fprintf(stderr, "tilvera-render: internal error: %s\n", what);
  std::abort();
}

}  // namespace

void HeadlessPump::waitForEvents() {
  internalError("the poll waited for a key without a keyboard");
}

void HeadlessPump::endProgram() {
  internalError("the poll ended the program without a keyboard");
}

}  // namespace tilvera
