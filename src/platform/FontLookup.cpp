#include "platform/FontLookup.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <memory>

namespace tilvera {

namespace {

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

Pattern windowFontPattern(const std::string& family) {
  Pattern pattern(FcPatternCreate());
  if (!pattern) return nullptr;
  const auto* name = reinterpret_cast<const FcChar8*>(family.c_str());
  FcPatternAddString(pattern.get(), FC_FAMILY, name);
  FcPatternAddDouble(pattern.get(), FC_SIZE, 12.0);
  FcPatternAddDouble(pattern.get(), FC_DPI, 96.0);
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, FC_WEIGHT_REGULAR);  // weight 400
  // Among faces of one weight, the style name picks a family's text cut over
  // its display cut, which is too thin at 16 pixels. It never outranks the family.
  FcPatternAddString(pattern.get(), FC_STYLE, reinterpret_cast<const FcChar8*>("Regular"));
  FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  return pattern;
}

// A face often goes by several family names (its own and its style's family).
bool hasFamily(FcPattern* face, const std::string& family) {
  FcChar8* name = nullptr;
  for (int n = 0; FcPatternGetString(face, FC_FAMILY, n, &name) == FcResultMatch; ++n)
    if (strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0) return true;
  return false;
}

std::string firstFamily(FcPattern* face) {
  FcChar8* name = nullptr;
  if (FcPatternGetString(face, FC_FAMILY, 0, &name) != FcResultMatch) return {};
  return reinterpret_cast<const char*>(name);
}

}  // namespace

std::optional<FontFace> findFontFace(const std::string& family, bool familyMustMatch) {
  if (!FcInit()) return std::nullopt;
  const Pattern wanted = windowFontPattern(family);
  if (!wanted) return std::nullopt;
  FcResult result = FcResultNoMatch;
  const Pattern match(FcFontMatch(nullptr, wanted.get(), &result));
  if (!match) return std::nullopt;
  if (familyMustMatch && !hasFamily(match.get(), family)) return std::nullopt;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
  int index = 0;
  FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
  FontFace face;
  face.file = reinterpret_cast<const char*>(file);
  face.index = index;
  face.family = familyMustMatch ? family : firstFamily(match.get());
  return face;
}

}  // namespace tilvera
