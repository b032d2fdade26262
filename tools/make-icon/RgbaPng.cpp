#include "make-icon/RgbaPng.h"

#include <png.h>

namespace tilvera::icon {

bool writeRgbaPng(const IconPicture& picture, const std::string& path, std::string* error) {
  static_assert(sizeof(Rgba) == 4, "rows are handed to libpng as they stand");
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.size);
  image.height = static_cast<png_uint_32>(picture.size);
  image.format = PNG_FORMAT_RGBA;
  if (png_image_write_to_file(&image, path.c_str(), 0, picture.pixels.data(), 0, nullptr) != 0)
    return true;
  *error = path + ": " + image.message;
  png_image_free(&image);
  return false;
}

}  // namespace tilvera::icon
