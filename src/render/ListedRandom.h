#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/RandomSource.h"

namespace tilvera {

// The numbers of a uniforms file, handed out in order; seeding has no effect.
// Asking for one more than there are throws RenderError naming the file.
class ListedRandom : public RandomSource {
 public:
  ListedRandom(std::vector<float> values, std::string fileName);

  void seed(std::uint64_t) override {}
  float uniform() override;

 private:
  std::vector<float> values_;
  std::string fileName_;
  std::size_t next_ = 0;
};

}  // namespace tilvera
