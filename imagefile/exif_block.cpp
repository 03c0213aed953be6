#include "imagefile/exif_block.h"

#include <libexif/exif-data.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "imagefile/metadata_text.h"

namespace imagefile {

namespace {

constexpr ExifByteOrder kOrder = EXIF_BYTE_ORDER_INTEL;
constexpr std::size_t kMaxSegmentBody = 65533;
constexpr unsigned kColourSpaceSrgb = 1, kColourSpaceUncalibrated = 0xFFFF;
constexpr unsigned kInches = 2, kCentredChroma = 1, kNominalDpi = 72;
const unsigned char kYCbCrComponents[4] = {1, 2, 3, 0};

struct ExifDataRelease {
  void operator()(ExifData* data) const { exif_data_unref(data); }
};

// Adds an entry of the given format with a copy of the bytes; false when
// libexif cannot allocate it.
bool addEntry(ExifData* data, ExifIfd ifd, ExifTag tag, ExifFormat format, const void* bytes, unsigned size,
              unsigned components) {
  ExifMem* mem = exif_mem_new_default();
  ExifEntry* entry = exif_entry_new_mem(mem);
  void* copy = entry ? exif_mem_alloc(mem, size) : nullptr;
  exif_mem_unref(mem);
  if (!copy) {
    if (entry) exif_entry_unref(entry);
    return false;
  }
  std::memcpy(copy, bytes, size);
  entry->tag = tag;
  entry->format = format;
  entry->components = components;
  entry->size = size;
  entry->data = static_cast<unsigned char*>(copy);
  exif_content_add_entry(data->ifd[ifd], entry);
  exif_entry_unref(entry);  // the directory holds its own reference
  return true;
}

// EXIF text tags hold 7-bit ASCII: the text is folded to it.
bool addText(ExifData* data, ExifIfd ifd, ExifTag tag, const std::string& utf8) {
  if (utf8.empty()) return true;
  const std::string text = SevenBitText(utf8);
  auto size = static_cast<unsigned>(text.size() + 1);  // with its terminating zero
  return addEntry(data, ifd, tag, EXIF_FORMAT_ASCII, text.c_str(), size, size);
}

bool addShort(ExifData* data, ExifIfd ifd, ExifTag tag, unsigned value) {
  unsigned char bytes[2];
  exif_set_short(bytes, kOrder, static_cast<ExifShort>(value));
  return addEntry(data, ifd, tag, EXIF_FORMAT_SHORT, bytes, 2, 1);
}

bool addLong(ExifData* data, ExifIfd ifd, ExifTag tag, std::uint32_t value) {
  unsigned char bytes[4];
  exif_set_long(bytes, kOrder, value);
  return addEntry(data, ifd, tag, EXIF_FORMAT_LONG, bytes, 4, 1);
}

bool addWholeRational(ExifData* data, ExifIfd ifd, ExifTag tag, std::uint32_t value) {
  unsigned char bytes[8];
  exif_set_rational(bytes, kOrder, ExifRational{value, 1});
  return addEntry(data, ifd, tag, EXIF_FORMAT_RATIONAL, bytes, 8, 1);
}

}  // namespace

std::vector<std::uint8_t> MakeExifBlock(const ImageMetadata& m, std::uint32_t width, std::uint32_t height) {
  if (m.dateTime.empty() && m.make.empty() && m.model.empty() && m.description.empty() && m.copyright.empty() &&
      m.software.empty() && m.uniqueId.empty())
    return {};
  const std::uint32_t dpi = m.dpi ? m.dpi : kNominalDpi;
  std::unique_ptr<ExifData, ExifDataRelease> data(exif_data_new());
  if (!data) return {};
  ExifData* d = data.get();
  exif_data_set_byte_order(d, kOrder);
  exif_data_set_data_type(d, EXIF_DATA_TYPE_COMPRESSED);

  // The text, then the tags every EXIF reader expects of a JPEG file.
  bool ok = addText(d, EXIF_IFD_0, EXIF_TAG_IMAGE_DESCRIPTION, m.description) &&
            addText(d, EXIF_IFD_0, EXIF_TAG_MAKE, m.make) && addText(d, EXIF_IFD_0, EXIF_TAG_MODEL, m.model) &&
            addText(d, EXIF_IFD_0, EXIF_TAG_SOFTWARE, m.software) &&
            addText(d, EXIF_IFD_0, EXIF_TAG_DATE_TIME, m.dateTime) &&
            addText(d, EXIF_IFD_0, EXIF_TAG_COPYRIGHT, m.copyright) &&
            addText(d, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, m.dateTime) &&
            addText(d, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED, m.dateTime) &&
            addText(d, EXIF_IFD_EXIF, EXIF_TAG_IMAGE_UNIQUE_ID, m.uniqueId) &&
            addWholeRational(d, EXIF_IFD_0, EXIF_TAG_X_RESOLUTION, dpi) &&
            addWholeRational(d, EXIF_IFD_0, EXIF_TAG_Y_RESOLUTION, dpi) &&
            addShort(d, EXIF_IFD_0, EXIF_TAG_RESOLUTION_UNIT, kInches) &&
            addShort(d, EXIF_IFD_0, EXIF_TAG_YCBCR_POSITIONING, kCentredChroma) &&
            addEntry(d, EXIF_IFD_EXIF, EXIF_TAG_EXIF_VERSION, EXIF_FORMAT_UNDEFINED, "0231", 4, 4) &&
            addEntry(d, EXIF_IFD_EXIF, EXIF_TAG_COMPONENTS_CONFIGURATION, EXIF_FORMAT_UNDEFINED, kYCbCrComponents, 4,
                     4) &&
            addEntry(d, EXIF_IFD_EXIF, EXIF_TAG_FLASH_PIX_VERSION, EXIF_FORMAT_UNDEFINED, "0100", 4, 4) &&
            addShort(d, EXIF_IFD_EXIF, EXIF_TAG_COLOR_SPACE, m.srgb ? kColourSpaceSrgb : kColourSpaceUncalibrated) &&
            addLong(d, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, width) &&
            addLong(d, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, height);
  // A description that 7-bit ASCII cannot hold also goes whole into UserComment.
  if (ok && !IsAscii(m.description)) {
    const std::vector<std::uint8_t> comment = UnicodeUserComment(m.description);
    ok = addEntry(d, EXIF_IFD_EXIF, EXIF_TAG_USER_COMMENT, EXIF_FORMAT_UNDEFINED, comment.data(),
                  static_cast<unsigned>(comment.size()), static_cast<unsigned>(comment.size()));
  }
  if (!ok) return {};

  unsigned char* bytes = nullptr;
  unsigned int size = 0;
  exif_data_save_data(d, &bytes, &size);
  std::vector<std::uint8_t> block;
  if (bytes && size > kExifHeaderSize && size <= kMaxSegmentBody) block.assign(bytes, bytes + size);
  std::free(bytes);  // allocated by the default allocator, which is malloc
  return block;
}

}  // namespace imagefile
