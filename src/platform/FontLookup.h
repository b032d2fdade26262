#pragma once

#include <optional>
#include <string>

namespace tilvera {

// A font file as fontconfig names it.
struct FontFace {
  std::string file;
  int index = 0;  // the face within the file
  std::string family;
};

// Asks fontconfig for `family` at the window's size (12 points at 96 dpi),
// regular weight, upright. Fontconfig always answers with some face; when
// `familyMustMatch`, an answer of another family counts as none.
std::optional<FontFace> findFontFace(const std::string& family, bool familyMustMatch);

}  // namespace tilvera
