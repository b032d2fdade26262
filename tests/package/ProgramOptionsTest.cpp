#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "shell/ProgramOptions.h"

namespace tilvera {
namespace {

struct Outcome {
  std::optional<int> status;
  std::string out, err;
};

Outcome run(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "tilvera");
  std::ostringstream out, err;
  const std::optional<int> status =
      handleProgramArguments(static_cast<int>(arguments.size()), arguments.data(), out, err);
  return {status, out.str(), err.str()};
}

TEST(ProgramOptions, WithoutArgumentsTheProgramRunsAndPrintsNothing) {
  const Outcome outcome = run({});
  EXPECT_EQ(outcome.status, std::nullopt);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err, "");
}

TEST(ProgramOptions, HelpNamesTheKeysInSpanishAndEnglish) {
  for (const char* help : {"--help", "-h"}) {
    SCOPED_TRACE(help);
    const Outcome outcome = run({help});
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_TRUE(outcome.out.starts_with("Usage: tilvera [--help | --version]\n"));
    for (const char* phrase : {"q, Q", "quit", "pause until the next key", "Pulse Q para acabar",
                               "Otra para parar", "--version"})
      EXPECT_NE(outcome.out.find(phrase), std::string::npos) << phrase;
  }
}

TEST(ProgramOptions, VersionIsTheProjectVersion) {
  const Outcome outcome = run({"--version"});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "tilvera " TILVERA_VERSION "\n");
  EXPECT_EQ(outcome.err, "");
}

TEST(ProgramOptions, TheFirstOfHelpAndVersionIsAnswered) {
  EXPECT_EQ(run({"--version", "--help"}).out, "tilvera " TILVERA_VERSION "\n");
  EXPECT_TRUE(run({"-h", "--version"}).out.starts_with("Usage: tilvera"));
}

TEST(ProgramOptions, AnyOtherArgumentIsRefusedWithOneUsageLine) {
  struct Case {
    std::vector<const char*> arguments;
    std::string named;  // the argument the message must name
  };
  const std::vector<Case> refused = {{{"--verbose"}, "--verbose"},
                                     {{"help"}, "help"},
                                     {{"-help"}, "-help"},
                                     {{"--Help"}, "--Help"},
                                     {{"-v"}, "-v"},
                                     {{"--version="}, "--version="},
                                     {{"--help=all"}, "--help=all"},
                                     {{""}, ""},
                                     {{"-"}, "-"},
                                     {{"--"}, "--"},
                                     {{"q"}, "q"},
                                     {{"--help", "extra"}, "extra"},
                                     {{"extra", "--help"}, "extra"},
                                     {{"--version", "-x"}, "-x"}};
  for (const Case& c : refused) {
    SCOPED_TRACE("argument '" + c.named + "'");
    const Outcome outcome = run(c.arguments);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err,
              "tilvera: unknown argument '" + c.named + "'; usage: tilvera [--help | --version]\n");
  }
}

}  // namespace
}  // namespace tilvera
