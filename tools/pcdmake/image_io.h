// Reading source pictures (binary PPM always; PNG and JPEG when the build
// found their libraries) and writing PPM for checks.
#pragma once
#include <string>

#include "image.h"

namespace pcdmake {

// false with a message in error when the file cannot be read or is not a
// picture of a supported kind.
bool ReadImageFile(const std::string& path, RgbImage& image, std::string& error);

bool WritePpm(const std::string& path, const RgbImage& image);

// The formats this build reads, e.g. "PPM, PNG, JPEG".
std::string SupportedInputFormats();

}  // namespace pcdmake
