#include "platform/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/FontLookup.h"
#include "platform/Rounding.h"
#include "platform/Utf8.h"

namespace tilvera {

namespace {

constexpr long pointSize26_6 = 12 * 64;
constexpr unsigned dotsPerInch = 96;

int pixelsFrom26_6(long value) {
  return roundHalfEven<int>(static_cast<double>(value) / 64.0);
}

bool printable(char32_t c) {
  return (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF);
}

unsigned mix(unsigned under, unsigned over, unsigned coverage) {
  return (under * (255 - coverage) + over * coverage + 127) / 255;
}

Colour blend(Colour under, Colour over, unsigned coverage) {
  if (coverage == 255) return over;
  return rgb(mix(redOf(under), redOf(over), coverage), mix(greenOf(under), greenOf(over), coverage),
             mix(blueOf(under), blueOf(over), coverage));
}

}  // namespace

std::unique_ptr<Font> Font::loadWindowFont(std::string* warning) {
  std::optional<FontFace> face = findFontFace("Bodoni BT", true);
  if (!face) face = findFontFace("Arapey", true);
  if (!face) face = findFontFace("serif", false);
  std::string error;
  std::unique_ptr<Font> font = face ? loadFile(face->file, face->index, &error) : nullptr;
  if (!font) {
    if (warning) *warning = "no usable font; drawing without the banner";
    return nullptr;
  }
  if (!face->family.empty()) font->family_ = face->family;
  return font;
}

std::unique_ptr<Font> Font::loadFile(const std::string& path, int faceIndex, std::string* error) {
  auto fail = [&](const char* why) -> std::unique_ptr<Font> {
    if (error) *error = "cannot use font " + path + ": " + why;
    return nullptr;
  };
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return fail("FreeType does not start");
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), faceIndex, &face) != 0) {
    FT_Done_FreeType(library);
    return fail("not a readable font file");
  }
  if (FT_Set_Char_Size(face, 0, pointSize26_6, dotsPerInch, dotsPerInch) != 0) {
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return fail("cannot be scaled to 12 points");
  }
  std::string family = face->family_name ? face->family_name : "";
  std::unique_ptr<Font> font(new Font(library, face, std::move(family)));
  font->cacheLatin1();
  return font;
}

Font::Font(FT_LibraryRec_* library, FT_FaceRec_* face, std::string family)
    : library_(library), face_(face), family_(std::move(family)) {
  lineHeight_ = pixelsFrom26_6(face_->size->metrics.height);
  ascender_ = pixelsFrom26_6(face_->size->metrics.ascender);
}

Font::~Font() {
  FT_Done_Face(face_);
  FT_Done_FreeType(library_);
}

bool Font::renderIntoSlot(char32_t codePoint, Glyph& glyph) const {
  if (FT_Load_Char(face_, codePoint, FT_LOAD_RENDER) != 0) return false;
  const FT_GlyphSlot slot = face_->glyph;
  if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && slot->bitmap.rows > 0) return false;
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  glyph.width = static_cast<int>(slot->bitmap.width);
  glyph.rows = static_cast<int>(slot->bitmap.rows);
  glyph.pitch = slot->bitmap.pitch;
  glyph.coverage = slot->bitmap.buffer;
  glyph.advance = slot->advance.x;
  return true;
}

void Font::cacheLatin1() {
  std::array<std::size_t, cachedCodePoints> offsets{};
  for (char32_t c = 0; c < cachedCodePoints; ++c) {
    Glyph glyph;
    if (!printable(c) || !renderIntoSlot(c, glyph)) continue;
    offsets[c] = coverage_.size();
    for (int row = 0; row < glyph.rows; ++row) {
      const unsigned char* from = glyph.coverage + static_cast<std::ptrdiff_t>(row) * glyph.pitch;
      coverage_.insert(coverage_.end(), from, from + glyph.width);
    }
    glyph.pitch = glyph.width;
    cache_[c] = glyph;
    cached_[c] = true;
  }
  // Pointers only once the storage has stopped growing.
  for (std::size_t c = 0; c < cachedCodePoints; ++c)
    if (cached_[c]) cache_[c].coverage = coverage_.data() + offsets[c];
}

bool Font::glyphFor(char32_t codePoint, Glyph& glyph) const {
  if (codePoint < cachedCodePoints && cached_[codePoint]) {
    glyph = cache_[codePoint];
    return true;
  }
  return renderIntoSlot(codePoint, glyph);
}

template <typename EachGlyph>
int Font::walkText(std::string_view utf8, EachGlyph&& eachGlyph) const {
  long pen = 0;  // 26.6 fixed point from the line's left edge
  std::size_t at = 0;
  while (at < utf8.size()) {
    Glyph glyph;
    if (!glyphFor(nextCodePoint(utf8, at), glyph)) continue;
    eachGlyph(glyph, pixelsFrom26_6(pen));
    pen += glyph.advance;
  }
  return pixelsFrom26_6(pen);
}

int Font::advancePixels(std::string_view utf8) const {
  return walkText(utf8, [](const Glyph&, int) {});
}

void Font::drawText(Image& image, int left, int top, std::string_view utf8, Colour colour) const {
  const int baseline = top + ascender_;
  walkText(utf8, [&](const Glyph& glyph, int penX) {
    const int x0 = left + penX + glyph.left, y0 = baseline - glyph.top;
    const int firstRow = std::max(0, -y0), lastRow = std::min(glyph.rows, image.height() - y0);
    const int firstColumn = std::max(0, -x0);
    const int lastColumn = std::min(glyph.width, image.width() - x0);
    for (int row = firstRow; row < lastRow; ++row) {
      const unsigned char* coverage =
          glyph.coverage + static_cast<std::ptrdiff_t>(row) * glyph.pitch;
      Colour* pixels = image.row(y0 + row);
      for (int column = firstColumn; column < lastColumn; ++column) {
        if (coverage[column] == 0) continue;
        Colour& pixel = pixels[x0 + column];
        pixel = blend(pixel, colour, coverage[column]);
      }
    }
  });
}

}  // namespace tilvera
