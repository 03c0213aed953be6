// Writes an image pack (IMGnnnn.PCD): image information block, attribute
// block, the three base levels and the 4BASE and 16BASE residual sections.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pyramid.h"

namespace pcdmake {

// Fields of the image information block; texts are written blank padded.
struct ImageInfoFields {
  std::uint16_t ipiVersion = 0x0100;          // major << 8 | minor
  std::uint16_t workstationVersion = 0x0100;
  std::uint16_t magnification = 0x0100;       // integer << 8 | hundredths
  std::uint32_t scanTime = 0;
  std::uint32_t modifiedTime = 0;
  std::int8_t mediaType = -1;
  std::string mediaText;                      // 20
  std::string scannerVendor;                  // 20
  std::string scannerProduct;                 // 16
  std::string scannerFirmware;                // 4
  std::string scannerFirmwareDate;            // 8
  std::string scannerSerial;                  // 20
  std::uint16_t scannerPixelSize = 0xFFFF;    // binary-coded decimal micrometres, hundredths; 0xFFFF not recorded
  std::string workstation;                    // 20
  std::string photofinisher;                  // 60; empty means none
  std::uint8_t rightsStatus = 0;
  std::string rightsName;                     // 28
};

struct PackOptions {
  ImageInfoFields info;
  int rotation = 0;           // 0 to 3
  int imageSectors = 1;       // interleave a
  int audioSectors = 0;       // interleave b; 0 no audio
  bool longCodes = false;     // code tables with codes of 13 to 16 bits (the extension's too)
};

// The complete file. Residual sections are written up to levels.topLevel
// (16BASE at most; 64BASE goes to the extension).
std::vector<std::uint8_t> WriteImagePack(const PhotoLevels& levels, const PackOptions& options);

// The attribute byte with the rotation code and resolution class, also used
// in the overview pack.
std::uint8_t AttributeByte(int rotation, int topLevel);

// PhotoYCC row pairs of a base level (two luma rows, then both chroma rows).
std::vector<std::uint8_t> RowPairs(const BaseLevel& level);

}  // namespace pcdmake
