// The texts the photo properties pages and `lumivexa-cli info` show for the
// fields of an image pack's information record. Portable; an empty text means
// the pack records nothing there (the pages show "n/a").
#pragma once
#include <cstdint>
#include <string>

#include "image_info.h"

namespace pcdprops {

// "%d.%02d" of a high byte and a low byte, as versions and the magnification
// are stored: 0x0203 gives "2.03".
std::string FormatByteVersion(std::uint16_t value);
// The same for the magnification factor and the workstation version, which
// may be unrecorded (0xFFFF): empty then.
std::string FormatRecordedPair(std::uint16_t value);

// The scanner's pixel size in micrometres as its whole part and hundredths;
// false when not recorded (FF FF). Discs store it as binary-coded decimal
// (0x11 0x48 is 11.48); bytes that are not both decimal digit pairs are read as
// two binary numbers (0x0C 0x05 is 12.05).
struct PixelSize {
  int whole = 0;
  int hundredths = 0;
  double micrometres() const { return whole + hundredths / 100.0; }
};
bool ReadPixelSize(const std::uint8_t bytes[2], PixelSize* size);
// "11.48 microns"; empty when not recorded.
std::string FormatPixelSize(const std::uint8_t bytes[2]);

// A disc time (seconds since 1970-01-01 00:00, the scanner's clock) as
// "YYYY-MM-DD HH:MM:SS", or with colons in the date as EXIF and TIFF write it.
std::string FormatDiscTime(std::uint32_t seconds, bool exifStyle = false);
// False for a time the scanner left unrecorded (zero or all ones): such a
// photo is undated, not taken on 1 January 1970.
inline bool IsRecordedTime(std::uint32_t seconds) { return seconds != 0 && seconds != 0xFFFFFFFFu; }

// Media type code (-1 none, 0 to 8) to its string table id (109, 111..119,
// 120 for any other code) and to the same English text.
int MediaTypeStringId(int code);
const char* MediaTypeText(int code);

// A fixed-width text field up to its first zero byte, trailing blanks (and
// 0xFF filler) dropped; empty when it holds nothing else.
std::string FieldText(const char* field, std::size_t size);
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  return FieldText(field, N);
}
// Disc text is 8-bit ISO 8859-1: the same text as UTF-8, for JSON, file names
// and metadata (every byte is a character, so nothing is ever invalid).
std::string Latin1ToUtf8(const std::string& latin1);
// A text field as UTF-8.
template <std::size_t N>
std::string FieldTextUtf8(const char (&field)[N]) {
  return Latin1ToUtf8(FieldText(field, N));
}
// The photofinisher's name; empty when its first byte is 0xFF.
std::string PhotofinisherText(const ImagePackInfo& info);

// Check box state of a resolution level on the Image page: 0 clear, 1 set,
// 2 indeterminate (the level comes from the pack's extension).
int LevelBoxState(std::uint16_t resolutionMask, const std::uint8_t extensionFlags[2], int level);

}  // namespace pcdprops
