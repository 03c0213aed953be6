// Reads one tag of an EXIF block back with libexif, as text.
#pragma once
#include <libexif/exif-data.h>

#include <cstdint>
#include <string>
#include <vector>

namespace writer_test {

// block: a JPEG APP1 body ("Exif\0\0" and a TIFF structure). Empty when the
// block or the tag is missing.
inline std::string exifText(const std::vector<std::uint8_t>& block, ExifIfd ifd, ExifTag tag) {
  ExifData* data = exif_data_new_from_data(block.data(), static_cast<unsigned>(block.size()));
  if (!data) return {};
  std::string text;
  if (ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag)) {
    char value[256];
    text = exif_entry_get_value(entry, value, sizeof value);
  }
  exif_data_unref(data);
  return text;
}

}  // namespace writer_test
