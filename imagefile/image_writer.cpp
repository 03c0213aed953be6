#include "imagefile/image_writer.h"

#include <cstring>

#include "imaging/dib_format.h"
#include "imaging/gdi_backend.h"
#include "photocd/pcd_local_file.h"

namespace imagefile {

ImageWriter::~ImageWriter() {
  if (file_) std::fclose(file_);
}

void ImageWriter::setOutput(const std::string& path) {
  path_ = path;
  sink_ = nullptr;
}

void ImageWriter::setSink(ByteSink* sink) { sink_ = sink; }

int ImageWriter::setSource(imaging::BitmapHandle dibSection) {
  imaging::DibSectionInfo info;
  if (!imaging::describeDibSection(dibSection, info)) return kWriterFailed;
  const imaging::DibHeader& h = info.header;
  WriterSource s;
  s.width = h.width;
  s.height = imaging::absHeight(h);
  s.bottomUp = imaging::isBottomUp(h);
  s.bits = h.planes * h.bitCount;
  s.pixels = info.bits;
  s.stride = imaging::dibStride(h.width, s.bits);
  if (s.bits <= 8) {
    s.colourCount = h.clrUsed ? static_cast<int>(h.clrUsed) : 1 << s.bits;
    if (info.colourCount <= 0 || s.colourCount > 256) return kWriterFailed;
    std::memcpy(s.colours, info.colours, sizeof s.colours);
    s.grey = true;
    for (int i = 0; i < s.colourCount; ++i)
      s.grey = s.grey && s.colours[i].blue == s.colours[i].green && s.colours[i].green == s.colours[i].red;
    s.zeroIsWhite = !(s.grey && s.bits == 1) || s.colours[1].blue < s.colours[0].blue;
  }
  source_ = s;
  rowsWritten_ = 0;
  return 0;
}

int ImageWriter::open() {
  if (!sink_) {
    if (file_) std::fclose(file_);
    file_ = PcdLocalOpenStream(path_.c_str(), "w+b");  // libtiff may read back what it wrote
    if (!file_) return kWriterFailed;
    madeFile_ = true;
  }
  rowsWritten_ = 0;
  return begin();
}

int ImageWriter::writeRows(int count) {
  if (!sink_ && !file_) return kWriterFailed;
  return writeSomeRows(count);
}

int ImageWriter::close() {
  int result = (sink_ || file_) ? finish() : kWriterFailed;
  // The data reaches the disk before anyone renames the file into place.
  if (file_ && result == 0 && !PcdLocalSyncStream(file_)) result = kWriterFailed;
  if (file_ && std::fclose(file_) != 0 && result == 0) result = kWriterFailed;
  file_ = nullptr;
  if (result == 0) madeFile_ = false;  // finished: it is the caller's file now
  return result;
}

void ImageWriter::abandon() {
  release();
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (madeFile_) PcdLocalRemove(path_.c_str());
  madeFile_ = false;
}

bool ImageWriter::put(const void* data, std::size_t size) {
  if (sink_) return sink_->write(data, size);
  return file_ && std::fwrite(data, 1, size, file_) == size;
}

}  // namespace imagefile
