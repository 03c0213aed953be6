#include "imagefile/png_writer.h"

#include <png.h>

#include <algorithm>
#include <cstdio>

#include "imagefile/exif_block.h"
#include "imagefile/metadata_text.h"
#include "imaging/dib_format.h"

namespace imagefile {
namespace {

// "YYYY:MM:DD HH:MM:SS" in the form PNG suggests for "Creation Time" (RFC
// 1123): "Sat, 04 May 1996 12:00:00 -0000", the zone marked unknown since the
// photo's time carries none. Other text is kept as it is.
std::string CreationTimeText(const std::string& dateTime) {
  int year, month, day, hour, minute, second;
  if (std::sscanf(dateTime.c_str(), "%4d:%2d:%2d %2d:%2d:%2d", &year, &month, &day, &hour, &minute, &second) != 6 ||
      month < 1 || month > 12 || day < 1 || day > 31)
    return dateTime;
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  static const int kMonthShift[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};  // weekday of the Gregorian calendar
  const int y = year - (month < 3);
  const int weekday = (y + y / 4 - y / 100 + y / 400 + kMonthShift[month - 1] + day) % 7;
  char text[40];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d -0000", kDays[weekday], day, kMonths[month - 1],
                year, hour, minute, second);
  return text;
}

}  // namespace

// libpng's structures and callbacks. Errors longjmp back into the small
// functions below that called setjmp, which hold no objects with destructors.
struct PngWriter::Encoder {
  png_structp png = nullptr;
  png_infop info = nullptr;
  PngWriter* owner = nullptr;

  static void onError(png_structp png, png_const_charp text) {
    static_cast<Encoder*>(png_get_error_ptr(png))->owner->libraryMessage_ = text;
    png_longjmp(png, 1);
  }
  static void onWarning(png_structp, png_const_charp) {}
  static void onWrite(png_structp png, png_bytep data, png_size_t size) {
    if (!static_cast<Encoder*>(png_get_io_ptr(png))->owner->put(data, size)) png_error(png, "short write");
  }
  static void onFlush(png_structp) {}
};

PngWriter::PngWriter() = default;
PngWriter::~PngWriter() { release(); }

void PngWriter::release() {
  if (encoder_) png_destroy_write_struct(&encoder_->png, &encoder_->info);
  encoder_.reset();
}

int PngWriter::begin() {
  const WriterSource& s = source();
  if (s.bits != 1 && s.bits != 4 && s.bits != 8 && s.bits != 16 && s.bits != 24) return kWriterFailed;
  release();
  libraryMessage_.clear();
  encoder_ = std::make_unique<Encoder>();
  encoder_->owner = this;
  encoder_->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, encoder_.get(), Encoder::onError, Encoder::onWarning);
  if (encoder_->png) encoder_->info = png_create_info_struct(encoder_->png);
  greyOut_ = s.bits <= 8 && s.grey;
  const ImageMetadata& m = metadata();
  exifBlock_ = MakeExifBlock(m, static_cast<std::uint32_t>(s.width), static_cast<std::uint32_t>(s.height));
  xmp_ = XmpPacket(m);
  sourceText_ = m.make.empty() || m.model.empty() ? m.make + m.model : m.make + " " + m.model;
  rowBuffer_.assign(static_cast<std::size_t>(s.width) * 3 + 1, 0);
  if (!encoder_->info || !startEncoder()) {
    release();
    return kWriterFailed;
  }
  return 0;
}

bool PngWriter::startEncoder() {
  const WriterSource& s = source();
  png_structp png = encoder_->png;
  png_infop info = encoder_->info;
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, encoder_.get(), Encoder::onWrite, Encoder::onFlush);
  if (fast_) {
    // One cheap filter and zlib's fastest level: several times quicker,
    // files a little larger.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, 1);
  }
  int colourType = s.bits > 8 ? PNG_COLOR_TYPE_RGB : greyOut_ ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_PALETTE;
  int depth = colourType == PNG_COLOR_TYPE_PALETTE ? s.bits : 8;
  png_set_IHDR(png, info, static_cast<png_uint_32>(s.width), static_cast<png_uint_32>(s.height), depth, colourType,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (colourType == PNG_COLOR_TYPE_PALETTE) {
    png_color palette[256];
    for (int i = 0; i < s.colourCount; ++i) palette[i] = {s.colours[i].red, s.colours[i].green, s.colours[i].blue};
    png_set_PLTE(png, info, palette, s.colourCount);
  }

  const ImageMetadata& m = metadata();
  const std::string creationTime = CreationTimeText(m.dateTime);
  const struct {
    const char* key;
    const std::string& value;
    bool utf8;  // iTXt, as XMP always is; tEXt holds ISO 8859-1 only, so other text goes there too
  } texts[] = {{"Creation Time", creationTime, false}, {"Source", sourceText_, !IsAscii(sourceText_)},
               {"Description", m.description, !IsAscii(m.description)}, {"Copyright", m.copyright, !IsAscii(m.copyright)},
               {"Software", m.software, false}, {kXmpPngKeyword, xmp_, true}};
  png_text chunks[6];
  int count = 0;
  for (const auto& t : texts) {
    if (t.value.empty()) continue;
    png_text& c = chunks[count++];
    c = png_text{};
    c.key = const_cast<char*>(t.key);
    c.text = const_cast<char*>(t.value.c_str());
    if (!t.utf8) {
      c.compression = PNG_TEXT_COMPRESSION_NONE;
      c.text_length = t.value.size();
    } else {
      c.compression = PNG_ITXT_COMPRESSION_NONE;
      c.itxt_length = t.value.size();
    }
  }
  if (count) png_set_text(png, info, chunks, count);
  if (exifBlock_.size() > kExifHeaderSize)
    png_set_eXIf_1(png, info, static_cast<png_uint_32>(exifBlock_.size() - kExifHeaderSize),
                   exifBlock_.data() + kExifHeaderSize);
  if (m.srgb) png_set_sRGB_gAMA_and_cHRM(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
  if (m.dpi) {  // pHYs counts pixels per metre
    const auto perMetre = static_cast<png_uint_32>(m.dpi / 0.0254 + 0.5);
    png_set_pHYs(png, info, perMetre, perMetre, PNG_RESOLUTION_METER);
  }
  png_write_info(png, info);
  return true;
}

void PngWriter::convertRow(int imageRow) {
  const WriterSource& s = source();
  const std::uint8_t* in = s.row(imageRow);
  std::uint8_t* out = rowBuffer_.data();
  if (greyOut_) {
    for (int x = 0; x < s.width; ++x) out[x] = s.greyOf(imaging::indexAt(in, x, s.bits));
  } else if (s.bits == 24) {
    imaging::swapRedBlue(in, s.width, out);
  } else if (s.bits == 16) {
    imaging::widen555(in, s.width, out, true);
  } else {
    std::copy(in, in + (static_cast<std::size_t>(s.width) * s.bits + 7) / 8, out);
  }
}

bool PngWriter::writeRow(const std::uint8_t* row) {
  if (setjmp(png_jmpbuf(encoder_->png))) return false;
  png_write_row(encoder_->png, row);
  return true;
}

int PngWriter::writeSomeRows(int count) {
  if (!encoder_) return kWriterFailed;
  const WriterSource& s = source();
  for (; count > 0 && rowsWritten() < s.height; --count) {
    convertRow(rowsWritten());
    if (!writeRow(rowBuffer_.data())) {
      release();
      return kWriterFailed;
    }
    countRows(1);
  }
  return 0;
}

bool PngWriter::endEncoder() {
  if (setjmp(png_jmpbuf(encoder_->png))) return false;
  // Everything was written before the pixels. Without the info structure:
  // libpng 1.6.39 would write the eXIf chunk a second time after them.
  png_write_end(encoder_->png, nullptr);
  return true;
}

int PngWriter::finish() {
  bool ok = encoder_ && rowsWritten() == source().height && endEncoder();
  release();
  return ok ? 0 : kWriterFailed;
}

}  // namespace imagefile
