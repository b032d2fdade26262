#pragma once

#include <cstdio>
#include <memory>
#include <optional>

#include "platform/Font.h"
#include "platform/Image.h"
#include "platform/ImageSurface.h"
#include "platform/PcgRandom.h"
#include "platform/SystemClock.h"
#include "render/FixedSeedClock.h"
#include "render/HeadlessPump.h"
#include "render/ListedRandom.h"
#include "render/OutputFile.h"
#include "render/RenderOptions.h"
#include "render/TraceWriter.h"
#include "render/TracingRandom.h"
#include "render/TracingSurface.h"
#include "shell/GeneratorPorts.h"

namespace tilvera {

// The platform of a run without a window: the image and its surface, the
// random source and clock the options choose, and the tracing decorators when
// a trace is written.
class HeadlessPlatform {
 public:
  // The random source is the uniforms file when there is one (it ignores seeds),
  // else PCG seeded from the clock: the seed clock for --seed, else the time of
  // day. With a trace file, every primitive, draw and poll is recorded.
  HeadlessPlatform(const RenderOptions& options, ListedRandom* listed, OutputFile* traceFile,
                   std::FILE* diagnostics);

  GeneratorPorts ports();
  const Image& image() const { return image_; }
  TraceWriter* trace() { return trace_ ? &*trace_ : nullptr; }
  FixedSeedClock& seedClock() { return fixedClock_; }

 private:
  std::unique_ptr<Font> font_;
  Image image_{imageWidth, imageHeight};
  ImageSurface imageSurface_;
  PcgRandom pcg_;
  SystemClock systemClock_;
  FixedSeedClock fixedClock_;
  RandomSource* random_;
  Clock* clock_;
  std::optional<TraceWriter> trace_;
  std::optional<TracingSurface> tracingSurface_;
  std::optional<TracingRandom> tracingRandom_;
  HeadlessPump pump_;
};

}  // namespace tilvera
