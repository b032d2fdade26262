#pragma once

#include <cstdio>
#include <string>

#include "Image.h"

namespace tilvera {

// Writes the image as an 8-bit RGB PNG straight to `path`; false with *error
// set when it cannot.
bool writePng(const Image& image, const std::string& path, std::string* error);
// Writes the image as an 8-bit RGB PNG to an open stream, which stays open;
// false with *error set when libpng fails. Errors of the stream itself show
// when the caller flushes it.
bool writePng(const Image& image, std::FILE* stream, std::string* error);
// Reads any PNG, flattened to 8-bit RGB, into *out; false with *error set.
bool readPng(const std::string& path, Image* out, std::string* error);

}  // namespace tilvera
