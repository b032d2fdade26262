#include "render/HeadlessPlatform.h"

#include <string>

namespace tilvera {

namespace {

std::unique_ptr<Font> loadFont(std::FILE* diagnostics) {
  std::string warning;
  std::unique_ptr<Font> font = Font::loadWindowFont(&warning);
  if (!warning.empty()) std::fprintf(diagnostics, "tilvera-render: %s\n", warning.c_str());
  return font;
}

}  // namespace

HeadlessPlatform::HeadlessPlatform(const RenderOptions& options, ListedRandom* listed,
                                   OutputFile* traceFile, std::FILE* diagnostics)
    : font_(loadFont(diagnostics)),
      imageSurface_(image_, font_.get()),
      random_(listed ? static_cast<RandomSource*>(listed) : &pcg_),
      clock_(options.seed || listed ? static_cast<Clock*>(&fixedClock_) : &systemClock_),
      trace_(traceFile ? std::optional<TraceWriter>(traceFile->stream()) : std::nullopt),
      pump_(trace()) {
  if (trace_) {
    tracingSurface_.emplace(imageSurface_, *trace_);
    tracingRandom_.emplace(*random_, *trace_);
  }
}

GeneratorPorts HeadlessPlatform::ports() {
  DrawingSurface& surface =
      tracingSurface_ ? static_cast<DrawingSurface&>(*tracingSurface_) : imageSurface_;
  RandomSource& random = tracingRandom_ ? static_cast<RandomSource&>(*tracingRandom_) : *random_;
  return GeneratorPorts{surface, random, *clock_, pump_};
}

}  // namespace tilvera
