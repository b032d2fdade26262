#include "render/RenderMain.h"

#include <string_view>

#include "render/CommandLine.h"
#include "render/RenderError.h"
#include "render/RenderRun.h"
#include "render/Usage.h"

namespace tilvera {

namespace {

constexpr int exitDone = 0;
constexpr int exitFault = 2;

void report(std::FILE* err, std::string_view message) {
  std::fprintf(err, "tilvera-render: %.*s\n", static_cast<int>(message.size()), message.data());
}

// Help and version text that could not be written is a failure; there is no
// message, since the usual place for one may be what failed.
int printed(std::FILE* out) {
  return std::fflush(out) == 0 && !std::ferror(out) ? exitDone : exitFault;
}

}  // namespace

int renderMain(int argc, const char* const argv[], std::FILE* out, std::FILE* err) {
  const ParsedCommandLine command = parseCommandLine(argc, argv);
  switch (command.action) {
    case ParsedCommandLine::Action::help:
      std::fprintf(out, "%.*s", static_cast<int>(usageText().size()), usageText().data());
      return printed(out);
    case ParsedCommandLine::Action::version:
      std::fprintf(out, "%.*s\n", static_cast<int>(versionText().size()), versionText().data());
      return printed(out);
    case ParsedCommandLine::Action::error:
      report(err, command.error);
      std::fputs("Try 'tilvera-render --help' for more information.\n", err);
      return exitFault;
    case ParsedCommandLine::Action::run:
      break;
  }
  try {
    runRender(command.options, err);
  } catch (const RenderError& error) {
    report(err, error.what());
    return exitFault;
  }
  return exitDone;
}

}  // namespace tilvera
