// Base of the image file writers: owns the output sink and the description
// of the source bitmap, and drives a concrete writer through begin, write
// rows and finish.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "imagefile/image_metadata.h"
#include "imaging/dib_types.h"

namespace imagefile {

// Failure result of the writers: the platform's general failure code (E_FAIL).
constexpr int kWriterFailed = static_cast<int>(0x80004005u);

// Somewhere other than a file to write to.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool write(const void* data, std::size_t size) = 0;
};

struct WriterSource {
  int width = 0;
  int height = 0;
  bool bottomUp = true;
  int bits = 0;
  const std::uint8_t* pixels = nullptr;
  std::size_t stride = 0;
  int colourCount = 0;
  imaging::RgbQuad colours[256];
  bool grey = false;
  bool zeroIsWhite = true;

  // Grey level of a table entry: 0.587 green + 0.299 red + 0.114 blue, rounded.
  std::uint8_t greyOf(int index) const {
    const imaging::RgbQuad& c = colours[index];
    return static_cast<std::uint8_t>((587 * c.green + 299 * c.red + 114 * c.blue + 500) / 1000);
  }

  // Memory row of the image's n-th row from the top.
  const std::uint8_t* row(int n) const {
    return pixels + stride * static_cast<std::size_t>(bottomUp ? height - 1 - n : n);
  }
};

class ImageWriter {
 public:
  ImageWriter() = default;
  ImageWriter(const ImageWriter&) = delete;
  ImageWriter& operator=(const ImageWriter&) = delete;
  virtual ~ImageWriter();

  void setOutput(const std::string& path);
  void setSink(ByteSink* sink);  // used instead of a file; the caller keeps it alive
  // Reads a DIB section's description and colour table. 0 or kWriterFailed.
  int setSource(imaging::BitmapHandle dibSection);
  // Creates (or truncates) the file, then begins the concrete writer.
  int open();
  int writeRows(int count);
  // Finishes the concrete writer, then closes the file.
  int close();
  // Gives up: drops the concrete writer's state without finishing, closes the
  // file and deletes it (also after a close() that failed), so that nothing
  // half-written is left behind.
  void abandon();
  // Text and colour tagging stored by writers whose format has room for them.
  void setMetadata(const ImageMetadata& metadata) { metadata_ = metadata; }

  const WriterSource& source() const { return source_; }
  int rowsWritten() const { return rowsWritten_; }
  int progress() const { return source_.height ? static_cast<int>(rowsWritten_ * 10000LL / source_.height) : 0; }
  // The encoding library's text for its last error, if any.
  const std::string& libraryMessage() const { return libraryMessage_; }

 protected:
  virtual int begin() = 0;
  virtual int writeSomeRows(int count) = 0;
  virtual int finish() = 0;
  // Frees library state without writing anything more; may be called twice.
  virtual void release() {}
  // Writes to the file or sink; false on a short write.
  bool put(const void* data, std::size_t size);
  void countRows(int rows) { rowsWritten_ += rows; }
  const ImageMetadata& metadata() const { return metadata_; }
  // The open output file; null when writing to a sink.
  std::FILE* file() const { return file_; }
  std::string libraryMessage_;

 private:
  std::string path_;
  ByteSink* sink_ = nullptr;
  std::FILE* file_ = nullptr;
  bool madeFile_ = false;  // open() created path_ and no close() finished it: abandon() deletes it
  WriterSource source_;
  int rowsWritten_ = 0;
  ImageMetadata metadata_;
};

}  // namespace imagefile
