#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tilvera {

// Bounds that keep a wrong file (a disk image, a log) from being read whole:
// a real uniforms line is a dozen characters, and 32 MiB holds millions of them.
inline constexpr std::size_t uniformsFileMaxBytes = std::size_t{32} << 20;
inline constexpr std::size_t uniformsLineMaxChars = 200;

// The numbers of a uniforms file, one a line, each read as the nearest float
// and checked to lie in [0, 1); blank lines are skipped. Throws RenderError
// naming `fileName` and the line of the first fault.
std::vector<float> parseUniforms(std::string_view contents, std::string_view fileName);

// Reads the file at `path` (refusing directories and files over the size bound)
// and parses it; throws RenderError.
std::vector<float> readUniformsFile(const std::string& path);

}  // namespace tilvera
