#include "render/CommandLine.h"

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tilvera {

namespace {

// Plain decimal digits only: no sign, no blanks, nothing after the number.
std::optional<std::uint64_t> parseCount(std::string_view text) {
  std::uint64_t value = 0;
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

class Parser {
 public:
  Parser(int argc, const char* const argv[]) : argc_(argc), argv_(argv) {}

  ParsedCommandLine parse() {
    for (next_ = 1; next_ < argc_ && result_.action == ParsedCommandLine::Action::run;) {
      takeArgument(argv_[next_++]);
    }
    if (result_.action == ParsedCommandLine::Action::run && seedGiven_ && uniformsGiven_)
      fail("--seed and --uniforms exclude each other");
    return result_;
  }

 private:
  void takeArgument(std::string_view argument) {
    if (argument == "--help" || argument == "-h") {
      result_.action = ParsedCommandLine::Action::help;
      return;
    }
    if (argument == "--version") {
      result_.action = ParsedCommandLine::Action::version;
      return;
    }
    if (!argument.starts_with("--")) return fail("unexpected argument " + quoted(argument));

    std::string_view name = argument;
    std::optional<std::string_view> inlineValue;
    if (const auto equals = argument.find('='); equals != std::string_view::npos) {
      name = argument.substr(0, equals);
      inlineValue = argument.substr(equals + 1);
    }
    if (name == "--seed") return takeSeed(name, inlineValue);
    if (name == "--trees") return takeTrees(name, inlineValue);
    if (name == "--uniforms")
      return takePath(name, inlineValue, uniformsGiven_, options().uniformsPath);
    if (name == "--png") return takePath(name, inlineValue, pngGiven_, options().pngPath);
    if (name == "--trace") return takePath(name, inlineValue, traceGiven_, options().tracePath);
    fail("unknown option " + quoted(name));
  }

  void takeSeed(std::string_view name, std::optional<std::string_view> inlineValue) {
    const auto value = valueOf(name, inlineValue, seedGiven_);
    if (!value) return;
    const auto seed = parseCount(*value);
    if (!seed) return fail("--seed needs a non-negative integer below 2^64, not " + quoted(*value));
    options().seed = *seed;
  }

  void takeTrees(std::string_view name, std::optional<std::string_view> inlineValue) {
    const auto value = valueOf(name, inlineValue, treesGiven_);
    if (!value) return;
    const auto trees = parseCount(*value);
    if (!trees || *trees == 0)
      return fail("--trees needs a positive integer below 2^64, not " + quoted(*value));
    options().trees = *trees;
  }

  void takePath(std::string_view name, std::optional<std::string_view> inlineValue, bool& given,
                std::string& path) {
    const auto value = valueOf(name, inlineValue, given);
    if (!value) return;
    if (value->empty()) return fail(std::string(name) + " needs a file name");
    path = std::string(*value);
  }

  // The option's value, inline or the next argument; reports a missing or repeated one.
  std::optional<std::string_view> valueOf(std::string_view name,
                                          std::optional<std::string_view> inlineValue,
                                          bool& given) {
    if (given) {
      fail(std::string(name) + " given twice");
      return std::nullopt;
    }
    given = true;
    if (inlineValue) return inlineValue;
    // "--png --trace t" is far more likely a forgotten value than a file named "--trace".
    if (next_ >= argc_ || std::string_view(argv_[next_]).starts_with("--")) {
      fail(std::string(name) + " needs a value");
      return std::nullopt;
    }
    return std::string_view(argv_[next_++]);
  }

  void fail(std::string message) {
    result_.action = ParsedCommandLine::Action::error;
    result_.error = std::move(message);
  }

  RenderOptions& options() { return result_.options; }

  int argc_;
  const char* const* argv_;
  int next_ = 1;
  ParsedCommandLine result_;
  bool seedGiven_ = false, treesGiven_ = false, uniformsGiven_ = false;
  bool pngGiven_ = false, traceGiven_ = false;
};

}  // namespace

ParsedCommandLine parseCommandLine(int argc, const char* const argv[]) {
  return Parser(argc, argv).parse();
}

}  // namespace tilvera
