#include "properties/photo_properties_text.h"

#include <cstdio>

namespace pcdprops {

namespace {

std::string TwoPart(int whole, int hundredths) {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%02d", whole, hundredths);
  return text;
}

bool IsDecimalByte(std::uint8_t byte) { return (byte >> 4) <= 9 && (byte & 0x0F) <= 9; }
int DecimalByteValue(std::uint8_t byte) { return (byte >> 4) * 10 + (byte & 0x0F); }

struct MediaType {
  int stringId;
  const char* text;
};
const MediaType kMediaTypes[] = {
    {111, "Color negative"},           {112, "Color reversal (slide film)"},
    {113, "Color hard copy"},          {114, "Thermal hard copy"},
    {115, "Black-and-white negative"}, {116, "Black-and-white reversal"},
    {117, "Black-and-white hard copy"}, {118, "Internegative"},
    {119, "Synthetic image"},
};
const MediaType kNoMedium = {109, "n/a"};
const MediaType kUnknownMedium = {120, "Unknown"};

const MediaType& Medium(int code) {
  if (code == -1) return kNoMedium;
  if (code >= 0 && code < static_cast<int>(sizeof kMediaTypes / sizeof kMediaTypes[0])) return kMediaTypes[code];
  return kUnknownMedium;
}

}  // namespace

std::string FormatByteVersion(std::uint16_t value) { return TwoPart(value >> 8, value & 0xFF); }

std::string FormatRecordedPair(std::uint16_t value) {
  return value == 0xFFFF ? std::string() : FormatByteVersion(value);
}

bool ReadPixelSize(const std::uint8_t bytes[2], PixelSize* size) {
  if (bytes[0] == 0xFF && bytes[1] == 0xFF) return false;
  const bool decimal = IsDecimalByte(bytes[0]) && IsDecimalByte(bytes[1]);
  size->whole = decimal ? DecimalByteValue(bytes[0]) : bytes[0];
  size->hundredths = decimal ? DecimalByteValue(bytes[1]) : bytes[1];
  return true;
}

std::string FormatPixelSize(const std::uint8_t bytes[2]) {
  PixelSize size;
  if (!ReadPixelSize(bytes, &size)) return std::string();
  return TwoPart(size.whole, size.hundredths) + " microns";
}

int MediaTypeStringId(int code) { return Medium(code).stringId; }
std::string FormatDiscTime(std::uint32_t seconds, bool exifStyle) {
  // Civil date from a day count (proleptic Gregorian), so no time zone or
  // thread-unsafe library call is involved.
  long days = static_cast<long>(seconds / 86400), rest = static_cast<long>(seconds % 86400);
  days += 719468;
  long era = days / 146097, dayOfEra = days - era * 146097;
  long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  long mp = (5 * dayOfYear + 2) / 153;
  long day = dayOfYear - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
  long year = yearOfEra + era * 400 + (month <= 2);
  char out[32];
  std::snprintf(out, sizeof out, exifStyle ? "%04ld:%02ld:%02ld %02ld:%02ld:%02ld" : "%04ld-%02ld-%02ld %02ld:%02ld:%02ld",
                year, month, day, rest / 3600, rest / 60 % 60, rest % 60);
  return out;
}

const char* MediaTypeText(int code) { return Medium(code).text; }

std::string FieldText(const char* field, std::size_t size) {
  std::size_t length = 0;
  while (length < size && field[length]) ++length;
  while (length > 0 && (field[length - 1] == ' ' || static_cast<unsigned char>(field[length - 1]) == 0xFF)) --length;
  return std::string(field, length);
}

std::string Latin1ToUtf8(const std::string& latin1) {
  std::string utf8;
  utf8.reserve(latin1.size());
  for (char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | byte >> 6);
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

std::string PhotofinisherText(const ImagePackInfo& info) {
  if (static_cast<unsigned char>(info.photofinisher[0]) == 0xFF) return std::string();
  return FieldText(info.photofinisher);
}

int LevelBoxState(std::uint16_t resolutionMask, const std::uint8_t extensionFlags[2], int level) {
  const unsigned bit = 1u << level;
  if (!(resolutionMask & bit)) return 0;
  return ((extensionFlags[0] | extensionFlags[1]) & bit) ? 2 : 1;
}

}  // namespace pcdprops
