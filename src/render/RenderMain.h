#pragma once

#include <cstdio>

namespace tilvera {

// The whole of tilvera-render: reads the command line, runs, reports. Returns
// the exit status: 0 when done (or for --help and --version), 2 for a bad
// argument, a fault reported by the run, or help or version text that could
// not be written (with no message).
int renderMain(int argc, const char* const argv[], std::FILE* out, std::FILE* err);

}  // namespace tilvera
