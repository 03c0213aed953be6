#include "imagefile/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
// The JPEG library's header needs FILE and size_t declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "imagefile/exif_block.h"
#include "imagefile/metadata_text.h"
#include "imaging/dib_format.h"

namespace imagefile {

namespace {
constexpr std::size_t kOutputChunk = 16384;
constexpr std::size_t kMaxMarkerBody = 65533;
}

// Everything the library's callbacks reach. setjmp/longjmp only ever cross
// library frames and the small functions that call setjmp, which hold no
// objects with destructors and call nothing that makes one: what they write
// is prepared beforehand.
struct JpegWriter::Compressor {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  jpeg_destination_mgr destination{};
  std::jmp_buf escape;
  bool created = false;
  JpegWriter* owner = nullptr;
  JOCTET buffer[kOutputChunk];

  static Compressor* of(j_common_ptr info) { return static_cast<Compressor*>(info->client_data); }

  static void onFatalError(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    Compressor* self = of(info);
    self->owner->libraryMessage_ = text;
    std::longjmp(self->escape, 1);
  }
  static void onMessage(j_common_ptr) {}  // warnings are not fatal and not shown

  static void startDestination(j_compress_ptr info) {
    Compressor* self = of(reinterpret_cast<j_common_ptr>(info));
    info->dest->next_output_byte = self->buffer;
    info->dest->free_in_buffer = kOutputChunk;
  }
  static boolean emptyBuffer(j_compress_ptr info) {
    Compressor* self = of(reinterpret_cast<j_common_ptr>(info));
    if (!self->owner->put(self->buffer, kOutputChunk)) ERREXIT(info, JERR_FILE_WRITE);
    startDestination(info);
    return TRUE;
  }
  static void endDestination(j_compress_ptr info) {
    Compressor* self = of(reinterpret_cast<j_common_ptr>(info));
    std::size_t used = kOutputChunk - info->dest->free_in_buffer;
    if (used && !self->owner->put(self->buffer, used)) ERREXIT(info, JERR_FILE_WRITE);
  }
};

JpegWriter::JpegWriter(const JpegOptions& options) : options_(options) {}
JpegWriter::~JpegWriter() { release(); }

void JpegWriter::release() {
  if (compressor_ && compressor_->created) jpeg_destroy_compress(&compressor_->info);
  compressor_.reset();
}

int JpegWriter::begin() {
  const WriterSource& s = source();
  if (s.bits != 1 && s.bits != 8 && s.bits != 24) return kWriterFailed;
  release();
  libraryMessage_.clear();
  compressor_ = std::make_unique<Compressor>();
  compressor_->owner = this;
  rowBuffer_.assign(static_cast<std::size_t>(s.width) * 3, 0);
  exifBlock_ = MakeExifBlock(metadata(), static_cast<std::uint32_t>(s.width), static_cast<std::uint32_t>(s.height));
  const std::string xmp = XmpPacket(metadata());
  xmpBlock_.clear();
  if (!xmp.empty()) {
    const std::string name = kXmpJpegNamespace;
    xmpBlock_.assign(name.begin(), name.end());
    xmpBlock_.push_back(0);
    xmpBlock_.insert(xmpBlock_.end(), xmp.begin(), xmp.end());
  }
  if (!startCompressor()) {
    release();
    return kWriterFailed;
  }
  return 0;
}

bool JpegWriter::startCompressor() {
  const WriterSource& s = source();
  Compressor* c = compressor_.get();
  jpeg_compress_struct* info = &c->info;
  info->err = jpeg_std_error(&c->errors);
  c->errors.error_exit = Compressor::onFatalError;
  c->errors.output_message = Compressor::onMessage;
  info->client_data = c;
  if (setjmp(c->escape)) return false;
  jpeg_create_compress(info);  // keeps err and client_data
  c->created = true;
  c->destination.init_destination = Compressor::startDestination;
  c->destination.empty_output_buffer = Compressor::emptyBuffer;
  c->destination.term_destination = Compressor::endDestination;
  info->dest = &c->destination;

  info->image_width = static_cast<JDIMENSION>(s.width);
  info->image_height = static_cast<JDIMENSION>(s.height);
  info->input_components = s.grey ? 1 : 3;
  info->in_color_space = s.grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(info);
  // Luma sampling factors over chroma at 1 x 1; any other value keeps the
  // library's default (2 x 2), because larger factors do not fit an
  // interleaved scan.
  if (!s.grey && (options_.sampling == kSampling444 || options_.sampling == kSampling420 ||
                  options_.sampling == kSampling422)) {
    info->comp_info[0].h_samp_factor = options_.sampling == kSampling444 ? 1 : 2;
    info->comp_info[0].v_samp_factor = options_.sampling == kSampling420 ? 2 : 1;
    for (int i = 1; i < 3; ++i) info->comp_info[i].h_samp_factor = info->comp_info[i].v_samp_factor = 1;
  }
  if (metadata().dpi) {  // JFIF density in dots per inch
    info->density_unit = 1;
    info->X_density = info->Y_density = static_cast<UINT16>(metadata().dpi);
  }
  jpeg_set_quality(info, options_.quality, TRUE);
  if (options_.progressive) jpeg_simple_progression(info);
  info->optimize_coding = options_.optimise ? TRUE : FALSE;
  info->smoothing_factor = options_.smoothing < 0 ? 0 : options_.smoothing > 100 ? 100 : options_.smoothing;
  jpeg_start_compress(info, TRUE);
  writeMetadataMarkers();
  return true;
}

// Called inside startCompressor's setjmp frame: only reads prepared bytes.
void JpegWriter::writeMetadataMarkers() {
  if (!exifBlock_.empty())
    jpeg_write_marker(&compressor_->info, JPEG_APP0 + 1, exifBlock_.data(), static_cast<unsigned>(exifBlock_.size()));
  if (!xmpBlock_.empty() && xmpBlock_.size() <= kMaxMarkerBody)
    jpeg_write_marker(&compressor_->info, JPEG_APP0 + 1, xmpBlock_.data(), static_cast<unsigned>(xmpBlock_.size()));
  const std::vector<std::uint8_t>& icc = metadata().iccProfile;
  if (!icc.empty() && !source().grey) jpeg_write_icc_profile(&compressor_->info, icc.data(), static_cast<unsigned>(icc.size()));
}

const std::uint8_t* JpegWriter::convertRow(int imageRow) {
  const WriterSource& s = source();
  const std::uint8_t* in = s.row(imageRow);
  std::uint8_t* out = rowBuffer_.data();
  if (s.bits == 24 && !s.grey) {
    imaging::swapRedBlue(in, s.width, out);
    return out;
  }
  for (int x = 0; x < s.width; ++x) {
    unsigned index = s.bits == 24 ? 0 : imaging::indexAt(in, x, s.bits);
    if (s.grey) {
      out[x] = s.greyOf(index);
    } else {
      out[3 * x] = s.colours[index].red;
      out[3 * x + 1] = s.colours[index].green;
      out[3 * x + 2] = s.colours[index].blue;
    }
  }
  return out;
}

bool JpegWriter::writeScanline(std::uint8_t* row) {
  if (setjmp(compressor_->escape)) return false;
  JSAMPROW rows[1] = {row};
  jpeg_write_scanlines(&compressor_->info, rows, 1);
  return true;
}

int JpegWriter::writeSomeRows(int count) {
  if (!compressor_) return kWriterFailed;
  const WriterSource& s = source();
  for (; count > 0 && rowsWritten() < s.height; --count) {
    convertRow(rowsWritten());
    if (!writeScanline(rowBuffer_.data())) {
      release();
      return kWriterFailed;
    }
    countRows(1);
  }
  return 0;
}

bool JpegWriter::finishCompressor() {
  if (setjmp(compressor_->escape)) return false;
  jpeg_finish_compress(&compressor_->info);
  return true;
}

int JpegWriter::finish() {
  bool ok = compressor_ && finishCompressor();
  release();
  return ok ? 0 : kWriterFailed;
}

}  // namespace imagefile
