#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "RenderProgram.h"
#include "render/RenderError.h"
#include "render/UniformsFile.h"

namespace tilvera {
namespace {

using testing::ScratchDir;

// The message of the RenderError that parsing throws, or "" when it succeeds.
std::string faultOf(const std::string& contents) {
  try {
    parseUniforms(contents, "u.txt");
  } catch (const RenderError& error) {
    return error.what();
  }
  return "";
}

TEST(UniformsFile, ReadsEachLineAsTheNearestFloat) {
  const std::string contents =
      "0\n"
      "0.5\n"
      "\n"
      "  .25\t\r\n"       // blanks around a number and a CR are ignored
      "   \n"             // so is a line of blanks
      "0.1\n"             // nearest float, not the double 0.1
      "0.99999994\n"      // the largest float below 1
      "0.99999997\n"      // just below the midpoint 1 - 2^-25: rounds down
      "5.96046448e-08\n"  // "%.9g" of 2^-24, as a trace writes it
      "1E-40\n"           // a subnormal is kept
      "0e7\n"
      "000.750";  // no final newline
  const std::vector<float> values = parseUniforms(contents, "u.txt");
  const std::vector<float> expected = {0.0f,        0.5f,     0.25f,  0.1f, 0.99999994f,
                                       0.99999994f, 0x1p-24f, 1e-40f, 0.0f, 0.75f};
  ASSERT_EQ(values.size(), expected.size());
  for (std::size_t i = 0; i < values.size(); ++i)
    EXPECT_EQ(values[i], expected[i]) << "value " << i;
  EXPECT_LT(values[7], std::numeric_limits<float>::min());  // subnormal, but not 0
  EXPECT_GT(values[7], 0.0f);
}

TEST(UniformsFile, RefusesAnythingButAPlainDecimalInRangeNamingTheLine) {
  struct Case {
    std::string contents;
    std::string message;
  };
  const std::string megabyte(1 << 20, '5');
  const std::vector<Case> cases = {
      {"nan\n", "u.txt:1: 'nan' is not a decimal number"},
      {"inf\n", "u.txt:1: 'inf' is not a decimal number"},
      {"0.5\n1\n", "u.txt:2: '1' is not below 1"},
      {"1.0\n", "u.txt:1: '1.0' is not below 1"},
      {"1e50\n", "u.txt:1: '1e50' is not below 1"},
      {"0.99999999\n", "u.txt:1: '0.99999999' rounds to 1 in single precision"},
      {"0.5\n\n-0.5\n", "u.txt:3: '-0.5' has a sign"},
      {"-0\n", "u.txt:1: '-0' has a sign"},
      {"+0.5\n", "u.txt:1: '+0.5' has a sign"},
      {"1e-50\n", "u.txt:1: '1e-50' is too small: it is not 0 but rounds to 0"},
      {"0.0000000000000000000000000000000000000000000000001\n", "is too small"},
      {"0x1p-3\n", "u.txt:1: '0x1p-3' is not a decimal number"},
      {"abc\n", "u.txt:1: 'abc' is not a decimal number"},
      {"0,5\n", "u.txt:1: '0,5' is not a decimal number"},
      {"0.5 0.25\n", "u.txt:1: '0.5 0.25' is not a decimal number"},
      {".\n", "is not a decimal number"},
      {"1e\n", "is not a decimal number"},
      {"0.5\n" + megabyte + "\n", "u.txt:2: line longer than 200 characters"},
      {std::string("0.5\n0.2\0\n", 9), "u.txt:2: unexpected byte 0x00"},
      {"\x89PNG\r\n", "u.txt:1: unexpected byte 0x89"},
      {"", "u.txt: holds no numbers"},
      {"\n  \n\r\n", "u.txt: holds no numbers"},
  };
  for (const Case& c : cases) {
    const std::string fault = faultOf(c.contents);
    EXPECT_NE(fault.find(c.message), std::string::npos)
        << "contents: " << c.contents.substr(0, 40) << "\ngot: " << fault
        << "\nwanted: " << c.message;
    EXPECT_EQ(fault.find('\n'), std::string::npos) << fault;
  }
}

TEST(UniformsFile, RefusesFilesThatCannotBeUniformsBeforeReadingThem) {
  const ScratchDir dir;
  struct Case {
    std::string path;
    std::string message;
  };
  const std::string huge = dir.file("huge");
  testing::writeFile(huge, "0.5\n");
  std::filesystem::resize_file(huge, uniformsFileMaxBytes + 1);  // sparse: nothing is written
  const std::vector<Case> cases = {
      {dir.file("missing"), "cannot open " + dir.file("missing") + ": No such file"},
      {dir.file(""), ": is a directory, not a uniforms file"},
      {huge, huge + ": larger than 32 MiB"},
  };
  for (const Case& c : cases) {
    try {
      readUniformsFile(c.path);
      ADD_FAILURE() << c.path << " was read";
    } catch (const RenderError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
          << "got: " << error.what() << "\nwanted: " << c.message;
    }
  }
}

TEST(UniformsFile, ReadsAFileAsItsContentsWouldParse) {
  const ScratchDir dir;
  const std::string path = dir.write("u.txt", "0.5\r\n\r\n0.125\r\n");
  EXPECT_EQ(readUniformsFile(path), (std::vector<float>{0.5f, 0.125f}));
}

}  // namespace
}  // namespace tilvera
