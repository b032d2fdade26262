#pragma once

#include <cstdint>

#include "platform/RandomSource.h"
#include "render/TraceWriter.h"

namespace tilvera {

// Hands on every draw of the real source and writes it as a "u" record.
// Seeding leaves no record: the "tree" record already marks where it happens.
class TracingRandom : public RandomSource {
 public:
  TracingRandom(RandomSource& inner, TraceWriter& trace) : inner_(inner), trace_(trace) {}

  void seed(std::uint64_t seed) override { inner_.seed(seed); }
  float uniform() override {
    const float u = inner_.uniform();
    trace_.uniform(u);
    return u;
  }

 private:
  RandomSource& inner_;
  TraceWriter& trace_;
};

}  // namespace tilvera
