#pragma once

#include <optional>
#include <ostream>

namespace tilvera {

// The command line of `tilvera`, which is run without arguments. Answers
// --help and --version, and refuses anything else with a one-line usage,
// all before any window opens. Returns the exit status when the program is
// to end there (0 after help or version, 2 for a bad argument), nothing when
// it is to run.
std::optional<int> handleProgramArguments(int argc, const char* const argv[], std::ostream& out,
                                          std::ostream& err);

}  // namespace tilvera
