// Format module for uncompressed Windows and OS/2 bitmaps of 1, 4, 8, 16
// (5-5-5), 24 and 32 bits per pixel.
#pragma once
#include <memory>

#include "imagefile/format_module.h"

namespace imagefile {

std::unique_ptr<FormatDecoder> createBmpDecoder();

}  // namespace imagefile
