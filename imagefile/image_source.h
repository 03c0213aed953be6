// Where an image's bytes come from: a file path, a resource, a memory block
// or an open file handle with an offset. Reads are exact and bounds-checked.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace imagefile {

// An open file handle (a Win32 HANDLE, natively a file descriptor) and a
// module instance, kept opaque so that no platform header is needed here.
using FileHandle = std::intptr_t;
struct ModuleObject;
using ModuleHandle = ModuleObject*;

class ImageSource {
 public:
  virtual ~ImageSource() = default;
  // Reads exactly count bytes at offset; false on a short read or an error.
  virtual bool read(std::uint64_t offset, void* buffer, std::size_t count) = 0;
  virtual std::uint64_t size() const = 0;
  // The path's extension in lower case with its dot; empty for other sources.
  const std::string& extension() const { return extension_; }
  // The file's path for file sources (formats that open companion files); empty for others.
  const std::string& path() const { return path_; }

 protected:
  std::string extension_;
  std::string path_;
};

// A file by path; error 101 when it does not exist, 3 when it cannot be opened.
std::unique_ptr<ImageSource> openFileSource(const std::string& path, int* error);
// A memory block the caller keeps alive for the source's life.
std::unique_ptr<ImageSource> openMemorySource(const void* data, std::size_t size);
// size bytes from offset of an open handle the caller keeps open.
std::unique_ptr<ImageSource> openHandleSource(FileHandle handle, std::uint64_t offset, std::uint64_t size,
                                              int* error);
// An RT_RCDATA resource of a module (Win32 only; natively error 3).
std::unique_ptr<ImageSource> openResourceSource(ModuleHandle module, int resourceId, int* error);

// The target of a ".lnk" shortcut (Win32), else the path itself.
std::string resolveShortcut(const std::string& path);
// Lower-case extension with its dot, or empty.
std::string pathExtension(const std::string& path);

}  // namespace imagefile
