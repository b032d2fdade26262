#include "platform/PngFile.h"

#include <png.h>

#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace tilvera {

namespace {

// libpng reports errors by longjmp, which must not cross a C++ object with a
// destructor; the message waits here in plain storage.
struct PngErrorText {
  char text[256] = "";
};

void onPngError(png_structp png, png_const_charp message) {
  auto* sink = static_cast<PngErrorText*>(png_get_error_ptr(png));
  std::snprintf(sink->text, sizeof sink->text, "%s", message);
  png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

// Only trivially destructible state lives in this frame.
bool writeRows(png_structp png, png_infop info, std::FILE* file, const Image& image) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_init_io(png, file);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
               static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  // A Colour in memory is R, G, B, 0 on a little-endian machine and 0, B, G, R
  // on a big-endian one; the unused byte is dropped as filler.
  if constexpr (std::endian::native == std::endian::little) {
    png_set_filler(png, 0, PNG_FILLER_AFTER);
  } else {
    png_set_filler(png, 0, PNG_FILLER_BEFORE);
    png_set_bgr(png);
  }
  for (int y = 0; y < image.height(); ++y)
    png_write_row(png, reinterpret_cast<png_const_bytep>(image.row(y)));
  png_write_end(png, info);
  return true;
}

std::string systemError(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

}  // namespace

bool writePng(const Image& image, std::FILE* stream, std::string* error) {
  PngErrorText failure;
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, &failure, onPngError, onPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  const bool written = info && writeRows(png, info, stream, image);
  png_destroy_write_struct(&png, &info);
  if (!written && error) *error = failure.text;
  return written;
}

bool writePng(const Image& image, const std::string& path, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    if (error) *error = systemError("cannot create", path);
    return false;
  }
  std::string failure;
  if (!writePng(image, file, &failure)) {
    std::fclose(file);
    if (error) *error = "cannot write " + path + ": " + failure;
    return false;
  }
  if (std::fclose(file) != 0) {
    if (error) *error = systemError("cannot finish", path);
    return false;
  }
  return true;
}

bool readPng(const std::string& path, Image* out, std::string* error) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    if (error) *error = "cannot read " + path + ": " + png.message;
    return false;
  }
  png.format = PNG_FORMAT_RGB;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr)) {
    if (error) *error = "cannot read " + path + ": " + png.message;
    png_image_free(&png);
    return false;
  }
  Image image(static_cast<int>(png.width), static_cast<int>(png.height));
  const png_byte* rgbBytes = bytes.data();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x, rgbBytes += 3)
      image.setPixel(x, y, rgb(rgbBytes[0], rgbBytes[1], rgbBytes[2]));
  *out = std::move(image);
  return true;
}

}  // namespace tilvera
