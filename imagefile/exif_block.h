// The EXIF block of a photo's metadata, built with libexif: scanner make and
// model, description, software and copyright in the first directory, the scan
// time as the dates of taking and digitising in the EXIF directory.
#pragma once
#include <cstdint>
#include <vector>

#include "imagefile/image_metadata.h"

namespace imagefile {

// Bytes of a JPEG APP1 segment's body for an image of the given size:
// "Exif\0\0", then a little-endian TIFF header and its directories. Empty
// when the metadata holds no text or the block would not fit a segment.
std::vector<std::uint8_t> MakeExifBlock(const ImageMetadata& metadata, std::uint32_t width, std::uint32_t height);

// Length of the "Exif\0\0" header that PNG's eXIf chunk leaves out.
constexpr std::size_t kExifHeaderSize = 6;

}  // namespace imagefile
