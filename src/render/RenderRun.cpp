#include "render/RenderRun.h"

#include <sys/stat.h>

#include <optional>
#include <string>

#include "platform/PngFile.h"
#include "render/HeadlessPlatform.h"
#include "render/ListedRandom.h"
#include "render/OutputFile.h"
#include "render/RenderError.h"
#include "render/UniformsFile.h"
#include "shell/Module1.h"

namespace tilvera {

namespace {

// Start-up once, then one turn of the cycle per tree. Tree k reads the seed
// N + k - 1 from the clock (it wraps modulo 2^64, as the clock's reading would).
// A trace that cannot be written stops the drawing after the tree it failed in,
// rather than after every tree asked for; finishing the trace then reports it.
void drawTrees(const RenderOptions& options, HeadlessPlatform& platform) {
  GeneratorPorts ports = platform.ports();
  GeneratorState state;
  startUp(state, ports);
  TraceWriter* const trace = platform.trace();
  for (std::uint64_t tree = 1; tree <= options.trees && !(trace && trace->failed()); ++tree) {
    if (trace) trace->tree(tree);
    platform.seedClock().set(options.seed.value_or(0) + (tree - 1));
    try {
      runTree(state, ports);
    } catch (const RenderError& error) {
      throw RenderError(std::string(error.what()) + "; tree " + std::to_string(tree) +
                        " needed more");
    }
  }
}

bool isRegularFile(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// An output renamed over another file, or over the uniforms file it was drawn
// from, would silently replace it. A uniforms source that is no regular file
// (a pipe, a terminal) is read to its end first and cannot be replaced.
void refuseSharedFiles(const RenderOptions& options) {
  struct Named {
    std::string option, path;
  };
  const Named uniforms{"--uniforms",
                       isRegularFile(options.uniformsPath) ? options.uniformsPath : ""};
  const Named png{"--png", options.pngPath}, trace{"--trace", options.tracePath};
  for (const auto& [first, second] : {std::pair{uniforms, png}, {uniforms, trace}, {png, trace}}) {
    if (!first.path.empty() && !second.path.empty() && namesSameFile(first.path, second.path))
      throw RenderError(first.option + " and " + second.option + " name the same file " +
                        first.path);
  }
}

void writeImage(const Image& image, OutputFile& png) {
  std::string error;
  if (!writePng(image, png.stream(), &error))
    throw RenderError("cannot write " + png.target() + ": " + error);
}

}  // namespace

void runRender(const RenderOptions& options, std::FILE* diagnostics) {
  std::optional<ListedRandom> listed;
  if (!options.uniformsPath.empty())
    listed.emplace(readUniformsFile(options.uniformsPath), options.uniformsPath);
  refuseSharedFiles(options);
  std::optional<OutputFile> png, trace;
  if (!options.pngPath.empty()) png.emplace(options.pngPath);
  if (!options.tracePath.empty()) trace.emplace(options.tracePath);

  HeadlessPlatform platform(options, listed ? &*listed : nullptr, trace ? &*trace : nullptr,
                            diagnostics);
  drawTrees(options, platform);

  if (png) writeImage(platform.image(), *png);
  if (trace) trace->finish();
  if (png) png->finish();
  if (trace) trace->publish();
  if (png) png->publish();
}

}  // namespace tilvera
