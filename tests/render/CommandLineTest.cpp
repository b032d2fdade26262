#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/CommandLine.h"

namespace tilvera {
namespace {

ParsedCommandLine parse(std::vector<std::string> words) {
  words.insert(words.begin(), "tilvera-render");
  std::vector<const char*> argv;
  for (const std::string& word : words) argv.push_back(word.c_str());
  return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, ReadsEveryOptionInBothSpellings) {
  const ParsedCommandLine plain =
      parse({"--seed", "18446744073709551615", "--trees", "3", "--png", "a.png", "--trace", "t"});
  ASSERT_EQ(plain.action, ParsedCommandLine::Action::run) << plain.error;
  EXPECT_EQ(plain.options.seed, 18446744073709551615u);
  EXPECT_EQ(plain.options.trees, 3u);
  EXPECT_EQ(plain.options.pngPath, "a.png");
  EXPECT_EQ(plain.options.tracePath, "t");
  EXPECT_TRUE(plain.options.uniformsPath.empty());

  const ParsedCommandLine inlined = parse({"--uniforms=u.txt", "--trees=2", "--png=x=y.png"});
  ASSERT_EQ(inlined.action, ParsedCommandLine::Action::run) << inlined.error;
  EXPECT_EQ(inlined.options.uniformsPath, "u.txt");
  EXPECT_FALSE(inlined.options.seed.has_value());
  EXPECT_EQ(inlined.options.trees, 2u);
  EXPECT_EQ(inlined.options.pngPath, "x=y.png");  // only the first '=' separates
}

TEST(CommandLine, DefaultsToOneTreeSeededFromTheClockWithoutOutputs) {
  const ParsedCommandLine none = parse({});
  ASSERT_EQ(none.action, ParsedCommandLine::Action::run);
  EXPECT_FALSE(none.options.seed.has_value());
  EXPECT_EQ(none.options.trees, 1u);
  EXPECT_TRUE(none.options.pngPath.empty());
  EXPECT_TRUE(none.options.tracePath.empty());
}

TEST(CommandLine, HelpAndVersionWinOverEverythingBeforeThem) {
  EXPECT_EQ(parse({"--trees", "2", "--help"}).action, ParsedCommandLine::Action::help);
  EXPECT_EQ(parse({"-h"}).action, ParsedCommandLine::Action::help);
  EXPECT_EQ(parse({"--png", "a", "--version"}).action, ParsedCommandLine::Action::version);
}

TEST(CommandLine, RefusesBadArgumentsWithAMessageNamingTheFault) {
  struct Case {
    std::vector<std::string> words;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"picture.png"}, "unexpected argument 'picture.png'"},
      {{"--seed"}, "--seed needs a value"},
      {{"--png", "--trace", "t"}, "--png needs a value"},
      {{"--trace="}, "--trace needs a file name"},
      {{"--seed", "-1"}, "non-negative integer"},
      {{"--seed", "+1"}, "non-negative integer"},
      {{"--seed", "1.5"}, "non-negative integer"},
      {{"--seed", "18446744073709551616"}, "non-negative integer"},
      {{"--seed", " 7"}, "non-negative integer"},
      {{"--trees", "0"}, "--trees needs a positive integer below 2^64, not '0'"},
      {{"--trees", "18446744073709551616"}, "positive integer below 2^64"},
      {{"--trees", "2x"}, "positive integer"},
      {{"--trees", ""}, "positive integer"},
      {{"--seed", "1", "--uniforms", "u"}, "--seed and --uniforms exclude each other"},
      {{"--trees", "1", "--trees", "2"}, "--trees given twice"},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine parsed = parse(c.words);
    EXPECT_EQ(parsed.action, ParsedCommandLine::Action::error) << c.words.front();
    EXPECT_NE(parsed.error.find(c.message), std::string::npos)
        << "got: " << parsed.error << "\nwanted: " << c.message;
    EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
  }
}

}  // namespace
}  // namespace tilvera
