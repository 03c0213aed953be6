// Metadata text in the forms file formats take: 7-bit ASCII for EXIF and TIFF
// text tags, UCS-2 for EXIF's UserComment, and an XMP packet (UTF-8) with the
// full text and the photo's provenance.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "imagefile/image_metadata.h"

namespace imagefile {

// True when the text needs no more than 7-bit ASCII.
bool IsAscii(const std::string& text);
// The text as valid UTF-8 that is safe to print, each byte that is no UTF-8
// and each control character written as \xNN (for file names, which may hold
// any bytes, and disc text shown on a terminal).
std::string EscapedUtf8(const std::string& text);
// UTF-8 text folded to 7-bit ASCII: accented Latin letters lose their accent
// (Müller gives Muller, ß gives ss), other characters and bytes that are no UTF-8 give "?".
std::string SevenBitText(const std::string& utf8);
// EXIF UserComment bytes: the "UNICODE" code and the text as UTF-16 little-endian
// (the byte order of the EXIF blocks written here).
std::vector<std::uint8_t> UnicodeUserComment(const std::string& utf8);

// The XMP packet of the metadata: dc:source, dc:description, dc:rights and the
// document and instance ids. Empty when the metadata has no provenance.
std::string XmpPacket(const ImageMetadata& metadata);
// The name JPEG's APP1 segment (with its zero) and PNG's iTXt chunk give XMP.
inline constexpr const char* kXmpJpegNamespace = "http://ns.adobe.com/xap/1.0/";
inline constexpr const char* kXmpPngKeyword = "XML:com.adobe.xmp";

}  // namespace imagefile
