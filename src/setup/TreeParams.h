#pragma once

#include <cstdint>

namespace tilvera {

// The shape of one tree: fixed ranges and the five values drawn inside them.
struct TreeParams {
  int branchFactorMax = 0;
  int branchFactorMin = 0;
  int widthFactorMax = 0;
  int widthFactorMin = 0;
  int trunkWidthMax = 0;
  int trunkWidthMin = 0;
  std::int16_t branchCountMax = 0;
  std::int16_t branchCountMin = 0;
  int spreadMax = 0;
  double spreadMin = 0;
  double randomness = 0;

  float branchFactor = 0;
  float widthFactor = 0;
  float trunkWidth = 0;
  std::int16_t branchCount = 0;
  double spread = 0;
};

}  // namespace tilvera
