// What an image pack records about its photo (scan time, scanner, medium,
// photofinisher, rights status) as the metadata of an exported file.
#pragma once
#include <string>

#include "imagefile/image_metadata.h"
#include "photocd/image_info.h"

namespace imagefile {

// Text fields only; colour tagging is the caller's to add.
ImageMetadata PhotoMetadata(const ImagePackInfo& info);
// The same read from the image pack at path; false (and nothing set) when the
// file is no image pack or its information record cannot be read.
bool ReadPhotoMetadata(const std::string& packPath, ImageMetadata& metadata);

}  // namespace imagefile
