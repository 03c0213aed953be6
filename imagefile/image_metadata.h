// Descriptive text and colour-space tagging that a writer stores in its file
// where the format has a place for it (TIFF tags, JPEG comment and ICC marker,
// PNG text chunks). Empty fields are left out.
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
  bool srgb = false;                       // the pixels are sRGB
  std::vector<std::uint8_t> iccProfile;    // embedded where the format takes a profile

  bool empty() const {
    return dateTime.empty() && make.empty() && model.empty() && description.empty() && copyright.empty() &&
           software.empty() && !srgb && iccProfile.empty();
  }
};

}  // namespace imagefile
