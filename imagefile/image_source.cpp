#include "imagefile/image_source.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "imagefile/image_errors.h"
#include "pcd_file.h"
#include "pcd_local_file.h"

namespace imagefile {

namespace {

class MemorySource final : public ImageSource {
 public:
  MemorySource(const void* data, std::size_t size) : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
  bool read(std::uint64_t offset, void* buffer, std::size_t count) override {
    if (offset > size_ || count > size_ - offset) return false;
    if (count) std::memcpy(buffer, data_ + offset, count);
    return true;
  }
  std::uint64_t size() const override { return size_; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

class FileSource final : public ImageSource {
 public:
  FileSource(std::FILE* file, std::uint64_t size, const std::string& path) : file_(file), size_(size) {
    extension_ = pathExtension(path);
    path_ = path;
  }
  ~FileSource() override { std::fclose(file_); }
  bool read(std::uint64_t offset, void* buffer, std::size_t count) override {
    if (offset > size_ || count > size_ - offset || offset > static_cast<std::uint64_t>(LONG_MAX)) return false;
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
    return std::fread(buffer, 1, count, file_) == count;
  }
  std::uint64_t size() const override { return size_; }

 private:
  std::FILE* file_;
  std::uint64_t size_;
};

// A file read through the toolkit's file layer: a photo inside a disc image.
class DiscFileSource final : public ImageSource {
 public:
  DiscFileSource(PcdFile* file, std::uint32_t size, const std::string& path) : file_(file), size_(size) {
    extension_ = pathExtension(path);
    path_ = path;
  }
  ~DiscFileSource() override { PcdFileClose(file_); }
  bool read(std::uint64_t offset, void* buffer, std::size_t count) override {
    if (offset > size_ || count > size_ - offset) return false;
    std::uint32_t got = 0;
    return PcdFileSeek(file_, static_cast<std::uint32_t>(offset)) == kPcdOk &&
           PcdFileRead(file_, buffer, static_cast<std::uint32_t>(count), got) == kPcdOk && got == count;
  }
  std::uint64_t size() const override { return size_; }

 private:
  PcdFile* file_;
  std::uint32_t size_;
};

std::unique_ptr<ImageSource> openDiscFileSource(const std::string& path) {
  PcdFile* file = nullptr;
  std::uint32_t size = 0;
  if (PcdFileOpen(path.c_str(), file) != kPcdOk) return nullptr;
  if (PcdFileSize(file, size) != kPcdOk) {
    PcdFileClose(file);
    return nullptr;
  }
  return std::make_unique<DiscFileSource>(file, size, path);
}

}  // namespace

std::string pathExtension(const std::string& path) {
  std::size_t dot = path.find_last_of('.');
  std::size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

std::unique_ptr<ImageSource> openFileSource(const std::string& path, int* error) {
  errno = 0;
  std::FILE* file = PcdLocalOpenStream(path.c_str(), "rb");
  if (!file) {
    int reason = errno;
    if (auto inImage = openDiscFileSource(path)) return inImage;
    *error = reason == ENOENT || reason == ENOTDIR ? kImageFileMissing : kImageCannotOpen;
    return nullptr;
  }
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  if (size < 0) {
    std::fclose(file);
    *error = kImageSeekFailure;
    return nullptr;
  }
  return std::make_unique<FileSource>(file, static_cast<std::uint64_t>(size), path);
}

std::unique_ptr<ImageSource> openMemorySource(const void* data, std::size_t size) {
  return std::make_unique<MemorySource>(data, data ? size : 0);
}

}  // namespace imagefile
