#include "render/UniformsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "render/RenderError.h"

namespace tilvera {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimmed(std::string_view line) {
  while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
  return line;
}

// Digits, an optional point with more digits (at least one digit in all), and an
// optional exponent. No sign: 0 <= u holds without one, and "-0" would only
// invite the question whether it is 0. Exponents are allowed because "%.9g"
// writes them for u below 1e-4, and a trace's u values must read back.
bool isPlainDecimal(std::string_view text) {
  std::size_t i = 0, digits = 0;
  while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t exponentStart = i;
    while (i < text.size() && isDigit(text[i])) ++i;
    if (i == exponentStart) return false;
  }
  return i == text.size();
}

// The power of ten of the leading non-zero digit (-3 for 0.00125, 2 for 125e0,
// 0 for 1.0); the text is a plain decimal with at least one such digit. Tells
// a value too small for a float from one too large when from_chars gives up.
long leadingPowerOfTen(std::string_view text) {
  long power = 0;
  bool seenPoint = false, seenLeading = false;
  std::size_t i = 0;
  for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
    if (text[i] == '.') {
      seenPoint = true;
    } else if (!seenLeading && text[i] == '0') {
      if (seenPoint) --power;
    } else if (!seenLeading) {
      seenLeading = true;
      if (seenPoint) --power;
    } else if (!seenPoint) {
      ++power;
    }
  }
  if (i == text.size()) return power;
  ++i;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  long exponent = 0;
  for (; i < text.size(); ++i) exponent = std::min(exponent * 10 + (text[i] - '0'), 1'000'000L);
  return negative ? power - exponent : power + exponent;
}

bool hasNonZeroDigitBeforeExponent(std::string_view text) {
  for (char c : text) {
    if (c == 'e' || c == 'E') break;
    if (c >= '1' && c <= '9') return true;
  }
  return false;
}

std::string located(std::string_view fileName, std::size_t lineNumber, const std::string& what) {
  return std::string(fileName) + ":" + std::to_string(lineNumber) + ": " + what;
}

std::string quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

// The fault of a line's text, or an empty string when it is a good number.
std::string checkNumber(std::string_view text, float& value) {
  if (text.front() == '-' || text.front() == '+')
    return quoted(text) + " has a sign; numbers are written without one, 0 <= u < 1";
  if (!isPlainDecimal(text)) return quoted(text) + " is not a decimal number";
  // from_chars rounds once, correctly, to the nearest float, whatever the
  // locale (strtod and a cast would round twice). It refuses only values whose
  // nearest float is 0 or infinite; a subnormal comes back as it is.
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc::result_out_of_range && end != text.data() + text.size())
    return quoted(text) + " is not a decimal number";
  if (ec == std::errc() && value == 0.0f && !hasNonZeroDigitBeforeExponent(text)) return {};
  const bool belowOne = leadingPowerOfTen(text) < 0;
  if (ec != std::errc() || value == 0.0f) {
    if (belowOne)
      return quoted(text) + " is too small: it is not 0 but rounds to 0 in single precision";
    return quoted(text) + " is not below 1";
  }
  if (!(value < 1.0f)) {
    if (belowOne)
      return quoted(text) + " rounds to 1 in single precision; the largest value below 1 is " +
             "0.99999994";
    return quoted(text) + " is not below 1";
  }
  return {};
}

// Control characters and bytes outside ASCII: most likely not a text file at all.
std::string checkBytes(std::string_view line) {
  for (char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t' && c != '\r') || byte >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "0x%02X", byte);
      return std::string("unexpected byte ") + hex + "; expected one decimal number a line";
    }
  }
  return {};
}

std::string systemError(const std::string& path, const char* doing, int error) {
  return std::string(doing) + " " + path + ": " + std::strerror(error);
}

class OpenFile {
 public:
  explicit OpenFile(int fd) : fd_(fd) {}
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

std::string tooLarge(const std::string& path) {
  return path + ": larger than " + std::to_string(uniformsFileMaxBytes >> 20) +
         " MiB; not a uniforms file?";
}

// Stops one chunk past the bound, so that a pipe or a device without a size
// cannot make the reader run on.
std::string readBounded(int fd, const std::string& path) {
  std::string contents;
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw RenderError(systemError(path, "cannot read", errno));
    if (got == 0) return contents;
    contents.append(chunk, static_cast<std::size_t>(got));
    if (contents.size() > uniformsFileMaxBytes) throw RenderError(tooLarge(path));
  }
}

}  // namespace

std::vector<float> parseUniforms(std::string_view contents, std::string_view fileName) {
  std::vector<float> values;
  std::size_t lineNumber = 0;
  while (!contents.empty()) {
    ++lineNumber;
    const std::size_t newline = contents.find('\n');
    const std::string_view line = contents.substr(0, newline);
    contents.remove_prefix(newline == std::string_view::npos ? contents.size() : newline + 1);

    if (std::string fault = checkBytes(line); !fault.empty())
      throw RenderError(located(fileName, lineNumber, fault));
    if (line.size() > uniformsLineMaxChars)
      throw RenderError(located(fileName, lineNumber,
                                "line longer than " + std::to_string(uniformsLineMaxChars) +
                                    " characters; expected one decimal number a line"));
    const std::string_view text = trimmed(line);
    if (text.empty()) continue;
    float value = 0;
    if (std::string fault = checkNumber(text, value); !fault.empty())
      throw RenderError(located(fileName, lineNumber, fault));
    values.push_back(value);
  }
  if (values.empty()) throw RenderError(std::string(fileName) + ": holds no numbers");
  return values;
}

std::vector<float> readUniformsFile(const std::string& path) {
  const OpenFile file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.fd() < 0) throw RenderError(systemError(path, "cannot open", errno));
  struct stat status {};
  if (::fstat(file.fd(), &status) != 0) throw RenderError(systemError(path, "cannot read", errno));
  if (S_ISDIR(status.st_mode)) throw RenderError(path + ": is a directory, not a uniforms file");
  if (S_ISREG(status.st_mode) && static_cast<std::uint64_t>(status.st_size) > uniformsFileMaxBytes)
    throw RenderError(tooLarge(path));
  return parseUniforms(readBounded(file.fd(), path), path);
}

}  // namespace tilvera
