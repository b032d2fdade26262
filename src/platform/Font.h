#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Colour.h"
#include "Image.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace tilvera {

// The window font: one face at 12 points (16 pixels to the em at 96 dpi),
// drawn as anti-aliased coverage over whatever lies beneath. The glyphs of
// Latin-1 are rendered once at load time, so drawing them allocates nothing.
class Font {
 public:
  // "Bodoni BT", else "Arapey", else whatever serif face fontconfig offers.
  // Null when no face can be had, with a one-line *warning for the user,
  // which the caller prefixes with its own name.
  static std::unique_ptr<Font> loadWindowFont(std::string* warning);
  // A given font file at the window size; null with *error set on failure.
  static std::unique_ptr<Font> loadFile(const std::string& path, int faceIndex, std::string* error);

  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  std::string family() const { return family_; }
  int lineHeightPixels() const { return lineHeight_; }
  int ascenderPixels() const { return ascender_; }
  // How far the pen moves over the text, in pixels.
  int advancePixels(std::string_view utf8) const;

  // Draws one line of UTF-8 text with the top left of its line box at (left,
  // top); the baseline lies ascenderPixels() below top. Clipped to the image.
  void drawText(Image& image, int left, int top, std::string_view utf8, Colour colour) const;

 private:
  // A glyph's coverage bitmap placed relative to the pen on the baseline.
  struct Glyph {
    int left = 0, top = 0;  // bitmap offset: right of the pen, above the baseline
    int width = 0, rows = 0, pitch = 0;
    const unsigned char* coverage = nullptr;
    long advance = 0;  // 26.6 fixed point
  };

  Font(FT_LibraryRec_* library, FT_FaceRec_* face, std::string family);
  void cacheLatin1();
  // The slot's bitmap is valid only until the next glyph is loaded.
  bool renderIntoSlot(char32_t codePoint, Glyph& glyph) const;
  bool glyphFor(char32_t codePoint, Glyph& glyph) const;
  // Calls eachGlyph(glyph, pen x in pixels) in turn; returns the pen's end.
  template <typename EachGlyph>
  int walkText(std::string_view utf8, EachGlyph&& eachGlyph) const;

  FT_LibraryRec_* library_;
  FT_FaceRec_* face_;
  std::string family_;
  int lineHeight_ = 0;
  int ascender_ = 0;
  static constexpr std::size_t cachedCodePoints = 256;
  std::array<Glyph, cachedCodePoints> cache_{};
  std::array<bool, cachedCodePoints> cached_{};
  std::vector<unsigned char> coverage_;
};

}  // namespace tilvera
