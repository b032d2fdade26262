#pragma once

#include <string>

#include "render/RenderOptions.h"

namespace tilvera {

struct ParsedCommandLine {
  enum class Action { run, help, version, error };
  Action action = Action::run;
  RenderOptions options;
  std::string error;  // for Action::error: one line, without the program name
};

// Reads `--option VALUE` and `--option=VALUE`; argv[0] is the program name.
ParsedCommandLine parseCommandLine(int argc, const char* const argv[]);

}  // namespace tilvera
