#include "setup/DrawParameters.h"

#include <cstdint>

#include "platform/Rounding.h"

namespace tilvera {

namespace {

void setRanges(TreeParams& p) {
  p.branchFactorMax = 2;
  p.branchFactorMin = 1;
  p.widthFactorMax = 5;
  p.widthFactorMin = 1;
  p.trunkWidthMax = 20;
  p.trunkWidthMin = 5;
  p.branchCountMax = 4;
  p.branchCountMin = 1;
  p.spreadMax = 1;
  p.spreadMin = 0.5;
  p.randomness = 0.5;
}

// The product and the sum are each rounded to single precision. Near u = 1 this
// is what lands the factors exactly on their upper bounds (2, 5, 20), and for
// u <= 2^-24 it makes branchFactor exactly 1.
float singleInRange(float u, int max, int min) {
  const float product = u * static_cast<float>(max - min);
  return product + static_cast<float>(min);
}

// u * 3 + 1 is exact in double, so only the final rounding rounds: u = 0.5 gives
// 2.5 and thus 2, not 3.
std::int16_t countInRange(float u, std::int16_t max, std::int16_t min) {
  const auto difference = static_cast<std::int16_t>(max - min);
  return roundHalfEven<std::int16_t>(static_cast<double>(u) * difference + min);
}

}  // namespace

void drawParameters(GeneratorState& g, RandomSource& random) {
  setRanges(g);
  g.branchFactor = singleInRange(random.uniform(), g.branchFactorMax, g.branchFactorMin);
  g.widthFactor = singleInRange(random.uniform(), g.widthFactorMax, g.widthFactorMin);
  g.trunkWidth = singleInRange(random.uniform(), g.trunkWidthMax, g.trunkWidthMin);
  g.branchCount = countInRange(random.uniform(), g.branchCountMax, g.branchCountMin);
  const double u = random.uniform();
  g.spread = u * (g.spreadMax - g.spreadMin) + g.spreadMin;
}

}  // namespace tilvera
