#include "shell/ProgramOptions.h"

#include <string_view>

namespace tilvera {

namespace {

constexpr int exitDone = 0;
constexpr int exitBadArgument = 2;

constexpr std::string_view helpText =
    R"(Usage: tilvera [--help | --version]

Draws random fractal trees in one window, one after another.
Dibuja árboles fractales al azar en una ventana, uno tras otro.

Keys / Teclas:
  q, Q        quit                          Pulse Q para acabar.
  any other   pause until the next key      Otra para parar (y otra para seguir).

  -h, --help  show this text and exit
  --version   show the version and exit
)";

constexpr std::string_view usageLine = "usage: tilvera [--help | --version]";

enum class Request { help, version, unknown };

Request requestOf(std::string_view argument) {
  if (argument == "--help" || argument == "-h") return Request::help;
  if (argument == "--version") return Request::version;
  return Request::unknown;
}

}  // namespace

std::optional<int> handleProgramArguments(int argc, const char* const argv[], std::ostream& out,
                                          std::ostream& err) {
  if (argc <= 1) return std::nullopt;
  // Any argument the program does not know is refused, even beside --help:
  // a typo must not be mistaken for a request that was honoured.
  for (int i = 1; i < argc; ++i) {
    if (requestOf(argv[i]) == Request::unknown) {
      err << "tilvera: unknown argument '" << argv[i] << "'; " << usageLine << '\n';
      return exitBadArgument;
    }
  }
  if (requestOf(argv[1]) == Request::help)
    out << helpText;
  else
    out << "tilvera " TILVERA_VERSION "\n";
  return exitDone;
}

}  // namespace tilvera
