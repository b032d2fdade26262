// The uniforms reader of tilvera-render on arbitrary file contents. It either
// refuses them with one line naming the file, or returns numbers in [0, 1), each
// the float nearest to its line's decimal and each read back from the text a
// trace writes for it.

#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "render/RenderError.h"
#include "render/UniformsFile.h"

namespace tilvera::fuzz {
namespace {

constexpr std::string_view fileName = "fuzz.txt";

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// The lines that hold a number, without their blanks, as the reader sees them.
std::vector<std::string> numberLines(std::string_view contents) {
  std::vector<std::string> lines;
  while (!contents.empty()) {
    const std::size_t newline = contents.find('\n');
    std::string_view line = contents.substr(0, newline);
    contents.remove_prefix(newline == std::string_view::npos ? contents.size() : newline + 1);
    while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
    if (!line.empty()) lines.emplace_back(line);
  }
  return lines;
}

bool sameFloat(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void checkRefusal(const RenderError& error) {
  const std::string_view message = error.what();
  require(message.starts_with(fileName), "a refusal names the file first");
  require(message.size() > fileName.size() + 2, "a refusal says what is wrong");
  require(message.find('\n') == std::string_view::npos, "a refusal is one line");
}

void checkValues(const std::vector<float>& values, std::string_view contents) {
  require(!values.empty(), "an accepted file holds numbers");
  const std::vector<std::string> lines = numberLines(contents);
  require(lines.size() == values.size(), "one number a non-blank line");
  for (std::size_t i = 0; i < values.size(); ++i) {
    const float u = values[i];
    require(u >= 0.0f && u < 1.0f, "every number lies in [0, 1)");
    // strtof rounds correctly too, in the C locale the fuzzer runs in.
    require(sameFloat(u, std::strtof(lines[i].c_str(), nullptr)),
            "each number is the float nearest to its decimal");
    char text[32];
    std::snprintf(text, sizeof text, "%.9g\n", static_cast<double>(u));
    const std::vector<float> again = parseUniforms(text, fileName);
    require(again.size() == 1 && sameFloat(again[0], u), "a traced number reads back exactly");
  }
}

}  // namespace
}  // namespace tilvera::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tilvera::fuzz;
  const std::string_view contents(reinterpret_cast<const char*>(data), size);
  std::vector<float> values;
  try {
    values = tilvera::parseUniforms(contents, fileName);
  } catch (const tilvera::RenderError& error) {
    checkRefusal(error);
    return 0;
  }
  checkValues(values, contents);
  return 0;
}
