// Handle and resource sources natively: file descriptors; no resources.
#include <unistd.h>

#include "imagefile/image_errors.h"
#include "imagefile/image_source.h"

namespace imagefile {

namespace {

class DescriptorSource final : public ImageSource {
 public:
  DescriptorSource(int fd, std::uint64_t offset, std::uint64_t size) : fd_(fd), offset_(offset), size_(size) {}
  bool read(std::uint64_t offset, void* buffer, std::size_t count) override {
    if (offset > size_ || count > size_ - offset) return false;
    auto* out = static_cast<char*>(buffer);
    while (count > 0) {
      ssize_t got = pread(fd_, out, count, static_cast<off_t>(offset_ + offset));
      if (got <= 0) return false;
      out += got;
      offset += static_cast<std::uint64_t>(got);
      count -= static_cast<std::size_t>(got);
    }
    return true;
  }
  std::uint64_t size() const override { return size_; }

 private:
  int fd_;
  std::uint64_t offset_, size_;
};

}  // namespace

std::unique_ptr<ImageSource> openHandleSource(FileHandle handle, std::uint64_t offset, std::uint64_t size,
                                              int* error) {
  if (handle < 0 || lseek(static_cast<int>(handle), 0, SEEK_CUR) < 0) {
    *error = kImageCannotOpen;
    return nullptr;
  }
  return std::make_unique<DescriptorSource>(static_cast<int>(handle), offset, size);
}

std::unique_ptr<ImageSource> openResourceSource(ModuleHandle, int, int* error) {
  *error = kImageCannotOpen;
  return nullptr;
}

std::string resolveShortcut(const std::string& path) { return path; }

}  // namespace imagefile
