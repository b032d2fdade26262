#include "render/ListedRandom.h"

#include <utility>

#include "render/RenderError.h"

namespace tilvera {

ListedRandom::ListedRandom(std::vector<float> values, std::string fileName)
    : values_(std::move(values)), fileName_(std::move(fileName)) {}

float ListedRandom::uniform() {
  if (next_ == values_.size())
    throw RenderError(fileName_ + ": ran out of numbers: all " + std::to_string(values_.size()) +
                      " were used");
  return values_[next_++];
}

}  // namespace tilvera
