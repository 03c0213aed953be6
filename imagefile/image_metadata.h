// Descriptive text and colour-space tagging that a writer stores in its file
// where the format has a place for it (TIFF tags, JPEG comment and ICC marker,
// PNG text chunks, EXIF and XMP). Text is UTF-8; fields that only take 7-bit
// ASCII get a folded form. Empty fields are left out.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace imagefile {

struct ImageMetadata {
  std::string dateTime;     // "YYYY:MM:DD HH:MM:SS"
  std::string make;         // scanner maker
  std::string model;        // scanner model
  std::string description;  // what the photo is (medium, photofinisher, ...)
  std::string copyright;
  std::string software;
  // Where the photo comes from, so that a renamed file can be traced: a line
  // for XMP dc:source, the photo's XMP DocumentID (the same at every level),
  // its InstanceID and EXIF ImageUniqueID (32 hexadecimal digits).
  std::string source;
  std::string documentId;
  std::string instanceId;
  std::string uniqueId;
  std::uint32_t dpi = 0;  // pixels per inch to state; 0 states none (EXIF says 72)
  bool srgb = false;                       // the pixels are sRGB
  std::vector<std::uint8_t> iccProfile;    // embedded where the format takes a profile

  bool empty() const {
    return dateTime.empty() && make.empty() && model.empty() && description.empty() && copyright.empty() &&
           software.empty() && source.empty() && uniqueId.empty() && dpi == 0 && !srgb &&
           iccProfile.empty();
  }
};

}  // namespace imagefile
