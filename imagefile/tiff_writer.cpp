#include "imagefile/tiff_writer.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "imagefile/metadata_text.h"
#include "imaging/dib_format.h"

namespace imagefile {

namespace {

bool isBlack(const imaging::RgbQuad& c) { return 587 * c.green + 299 * c.red + 114 * c.blue < 127000; }

// Strips of about this many bytes before compression, so that readers with
// small buffers cope with large photos.
constexpr std::uint32_t kStripBytes = 32768;
// libtiff's JPEG codec wants strips of whole 8 x 8 blocks (16 with sampling).
constexpr std::uint32_t kJpegStripRows = 16;
constexpr unsigned kColourSpaceSrgb = 1, kColourSpaceUncalibrated = 0xFFFF;

}  // namespace

// libtiff's file procedures and reports, reached through the writer pointer
// given as the client handle. Output goes through the base's put so that a
// short write fails like any other.
struct TiffWriter::Io {
  static TiffWriter* of(thandle_t h) { return static_cast<TiffWriter*>(h); }
  static tmsize_t read(thandle_t h, void* buffer, tmsize_t size) {
    return static_cast<tmsize_t>(std::fread(buffer, 1, static_cast<std::size_t>(size), of(h)->file()));
  }
  static tmsize_t write(thandle_t h, void* buffer, tmsize_t size) {
    return of(h)->put(buffer, static_cast<std::size_t>(size)) ? size : 0;
  }
  static toff_t seek(thandle_t h, toff_t offset, int whence) {
    std::FILE* f = of(h)->file();
    if (offset > 0x7FFFFFFF || std::fseek(f, static_cast<long>(offset), whence) != 0) return static_cast<toff_t>(-1);
    return static_cast<toff_t>(std::ftell(f));
  }
  static int close(thandle_t) { return 0; }  // the base closes the file
  static toff_t size(thandle_t h) {
    std::FILE* f = of(h)->file();
    long at = std::ftell(f);
    std::fseek(f, 0, SEEK_END);
    long end = std::ftell(f);
    std::fseek(f, at, SEEK_SET);
    return static_cast<toff_t>(end);
  }
  static int map(thandle_t, void**, toff_t*) { return 0; }
  static void unmap(thandle_t, void*, toff_t) {}

  static int report(bool isError, void* user, const char* module, const char* format, va_list args) {
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    TiffWriter* self = static_cast<TiffWriter*>(user);
    if (isError) self->libraryMessage_ = text;
    if (self->messages_) self->messages_(isError, module, text);
    return 1;
  }
  static int error(TIFF*, void* user, const char* module, const char* format, va_list args) {
    return report(true, user, module, format, args);
  }
  static int warning(TIFF*, void* user, const char* module, const char* format, va_list args) {
    return report(false, user, module, format, args);
  }
};

TiffWriter::~TiffWriter() { release(); }

void TiffWriter::release() {
  if (tiff_) TIFFCleanup(tiff_);  // frees without writing anything more
  tiff_ = nullptr;
}

int TiffWriter::begin() {
  const WriterSource& s = source();
  int compression = tiffCompressionTag(options_.compression);
  if ((s.bits != 1 && s.bits != 8 && s.bits != 24) || !compression || !file()) return kWriterFailed;
  release();
  libraryMessage_.clear();
  bilevel_ = compression == COMPRESSION_CCITTFAX3 || compression == COMPRESSION_CCITTFAX4;
  jpeg_ = compression == COMPRESSION_JPEG;
  expandToRgb_ = jpeg_ && s.bits <= 8 && !s.grey;

  TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetErrorHandlerExtR(opts, Io::error, this);
  TIFFOpenOptionsSetWarningHandlerExtR(opts, Io::warning, this);
  tiff_ = TIFFClientOpenExt("output", "w", this, Io::read, Io::write, Io::seek, Io::close, Io::size, Io::map,
                            Io::unmap, opts);
  TIFFOpenOptionsFree(opts);
  if (!tiff_ || !writeExifDirectory() || !setTags()) {
    release();
    return kWriterFailed;
  }
  rowBuffer_.assign(static_cast<std::size_t>(s.width) * 3 + 1, 0);
  return 0;
}

bool TiffWriter::setTags() {
  const WriterSource& s = source();
  TIFF* t = tiff_;
  bool ok = TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(s.width)) &&
            TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(s.height)) &&
            TIFFSetField(t, TIFFTAG_COMPRESSION, tiffCompressionTag(options_.compression)) &&
            TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) &&
            TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
            TIFFSetField(t, TIFFTAG_XRESOLUTION, static_cast<float>(options_.xDpi)) &&
            TIFFSetField(t, TIFFTAG_YRESOLUTION, static_cast<float>(options_.yDpi));
  if (!ok) return false;
  int photometric = PHOTOMETRIC_MINISWHITE;
  if (bilevel_) {
    // One bit a pixel, 1 meaning black: say so, for readers that would
    // otherwise take 0 as black.
    ok = TIFFSetField(t, TIFFTAG_PHOTOMETRIC, photometric);
  } else {
    bool rgb = s.bits == 24 || expandToRgb_;
    int bitsPerSample = s.bits > 8 || jpeg_ || (s.grey && s.bits == 8) ? 8 : s.bits;
    if (rgb) {
      photometric = PHOTOMETRIC_RGB;
    } else if (s.grey) {
      // The 1-bit data stays as it is unless JPEG turns it into grey levels.
      photometric = s.bits == 1 && !jpeg_ && s.zeroIsWhite ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK;
    } else {
      photometric = PHOTOMETRIC_PALETTE;
    }
    ok = TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, rgb ? 3 : 1) &&
         TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bitsPerSample) && TIFFSetField(t, TIFFTAG_PHOTOMETRIC, photometric);
    if (ok && photometric == PHOTOMETRIC_PALETTE) {
      std::vector<std::uint16_t> map(3u << s.bits, 0);
      std::uint16_t* red = map.data();
      std::uint16_t* green = red + (1 << s.bits);
      std::uint16_t* blue = green + (1 << s.bits);
      for (int i = 0; i < s.colourCount; ++i) {
        red[i] = static_cast<std::uint16_t>(s.colours[i].red * 256);
        green[i] = static_cast<std::uint16_t>(s.colours[i].green * 256);
        blue[i] = static_cast<std::uint16_t>(s.colours[i].blue * 256);
      }
      ok = TIFFSetField(t, TIFFTAG_COLORMAP, red, green, blue);
    }
    bool differencing = bitsPerSample == 8 && (options_.compression == kTiffLzw || options_.compression == kTiffDeflate);
    if (ok && predictor_ && differencing) ok = TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  }
  if (ok) ok = TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, rowsPerStrip());
  if (ok && exifOffset_) ok = TIFFSetField(t, TIFFTAG_EXIFIFD, exifOffset_);
  // An RGB profile describes only colour pixels.
  if (ok) setMetadataTags(photometric == PHOTOMETRIC_RGB || photometric == PHOTOMETRIC_PALETTE);
  return ok;
}

std::uint32_t TiffWriter::rowsPerStrip() const {
  tmsize_t rowBytes = TIFFScanlineSize(tiff_);
  std::uint32_t rows = rowBytes > 0 ? static_cast<std::uint32_t>(std::max<tmsize_t>(1, kStripBytes / rowBytes)) : 1;
  if (jpeg_) rows = std::max(kJpegStripRows, rows / kJpegStripRows * kJpegStripRows);
  return std::min(rows, static_cast<std::uint32_t>(source().height));
}

// The dates (and the colour space) go into an EXIF directory written ahead of
// the image's own, which points at it; the text tags (Make, Model, ...) stay
// in the image directory, where TIFF and EXIF readers both look for them.
bool TiffWriter::writeExifDirectory() {
  exifOffset_ = 0;
  const ImageMetadata& m = metadata();
  const bool comment = !IsAscii(m.description);
  if (m.dateTime.empty() && m.uniqueId.empty() && !m.srgb && !comment) return true;
  TIFF* t = tiff_;
  bool ok = TIFFCreateEXIFDirectory(t) == 0 && TIFFSetField(t, EXIFTAG_EXIFVERSION, "0231") &&
            TIFFSetField(t, EXIFTAG_FLASHPIXVERSION, "0100") &&
            TIFFSetField(t, EXIFTAG_COLORSPACE, m.srgb && !bilevel_ ? kColourSpaceSrgb : kColourSpaceUncalibrated);
  if (ok && !m.dateTime.empty())
    ok = TIFFSetField(t, EXIFTAG_DATETIMEORIGINAL, m.dateTime.c_str()) &&
         TIFFSetField(t, EXIFTAG_DATETIMEDIGITIZED, m.dateTime.c_str());
  if (ok && !m.uniqueId.empty()) ok = TIFFSetField(t, EXIFTAG_IMAGEUNIQUEID, m.uniqueId.c_str());
  // A description that 7-bit ASCII cannot hold also goes whole into UserComment, as in JPEG.
  if (ok && comment) {
    const std::vector<std::uint8_t> text = UnicodeUserComment(m.description);
    ok = TIFFSetField(t, EXIFTAG_USERCOMMENT, static_cast<int>(text.size()), text.data());
  }
  std::uint64_t offset = 0;
  ok = ok && TIFFWriteCustomDirectory(t, &offset);
  TIFFFreeDirectory(t);    // the EXIF values; starting a directory does not free them
  TIFFCreateDirectory(t);  // back to an image directory
  exifOffset_ = offset;
  return ok;
}

void TiffWriter::setMetadataTags(bool withRgbProfile) {
  const ImageMetadata& m = metadata();
  const struct {
    ttag_t tag;
    const std::string& value;
  } texts[] = {{TIFFTAG_DATETIME, m.dateTime},        {TIFFTAG_MAKE, m.make},
               {TIFFTAG_MODEL, m.model},              {TIFFTAG_IMAGEDESCRIPTION, m.description},
               {TIFFTAG_COPYRIGHT, m.copyright},      {TIFFTAG_SOFTWARE, m.software}};
  // TIFF text tags hold 7-bit ASCII; the full text is in the XMP packet.
  for (const auto& t : texts)
    if (!t.value.empty()) TIFFSetField(tiff_, t.tag, SevenBitText(t.value).c_str());
  const std::string xmp = XmpPacket(m);
  if (!xmp.empty()) TIFFSetField(tiff_, TIFFTAG_XMLPACKET, static_cast<std::uint32_t>(xmp.size()), xmp.data());
  if (!m.iccProfile.empty() && withRgbProfile)
    TIFFSetField(tiff_, TIFFTAG_ICCPROFILE, static_cast<std::uint32_t>(m.iccProfile.size()), m.iccProfile.data());
}

// Fills the row buffer with image row imageRow as the file stores it. libtiff
// gets this copy, never the source memory: its predictor rewrites the buffer.
void TiffWriter::convertRow(int imageRow) {
  const WriterSource& s = source();
  const std::uint8_t* in = s.row(imageRow);
  std::uint8_t* out = rowBuffer_.data();
  auto indexAt = [&](int x) { return imaging::indexAt(in, x, s.bits); };
  if (bilevel_) {
    std::fill(out, out + (s.width + 7) / 8, 0);
    for (int x = 0; x < s.width; ++x) {
      bool black;
      if (s.bits == 24)
        black = isBlack({in[3 * x], in[3 * x + 1], in[3 * x + 2], 0});
      else if (s.bits == 1 && s.grey)
        black = (indexAt(x) != 0) == s.zeroIsWhite;
      else
        black = isBlack(s.colours[indexAt(x)]);
      if (black) imaging::setBitAt(out, x, true);
    }
  } else if (s.bits == 24) {
    imaging::swapRedBlue(in, s.width, out);
  } else if (expandToRgb_) {
    for (int x = 0; x < s.width; ++x) {
      const imaging::RgbQuad& c = s.colours[indexAt(x)];
      out[3 * x] = c.red;
      out[3 * x + 1] = c.green;
      out[3 * x + 2] = c.blue;
    }
  } else if (s.grey && (s.bits == 8 || jpeg_)) {
    for (int x = 0; x < s.width; ++x) out[x] = s.greyOf(indexAt(x));
  } else {
    std::copy(in, in + (static_cast<std::size_t>(s.width) * s.bits + 7) / 8, out);
  }
}

int TiffWriter::writeSomeRows(int count) {
  if (!tiff_) return kWriterFailed;
  const WriterSource& s = source();
  for (; count > 0 && rowsWritten() < s.height; --count) {
    convertRow(rowsWritten());
    if (TIFFWriteScanline(tiff_, rowBuffer_.data(), static_cast<std::uint32_t>(rowsWritten()), 0) < 0)
      return kWriterFailed;
    countRows(1);
  }
  return 0;
}

int TiffWriter::finish() {
  bool ok = tiff_ && rowsWritten() == source().height && TIFFFlush(tiff_);
  release();
  return ok ? 0 : kWriterFailed;
}

}  // namespace imagefile
