// Handle, resource and shortcut sources through Win32.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "imagefile/image_errors.h"
#include "imagefile/image_source.h"
#include "photocd/pcd_text_win.h"

namespace imagefile {

namespace {

class HandleSource final : public ImageSource {
 public:
  HandleSource(HANDLE handle, std::uint64_t offset, std::uint64_t size) : handle_(handle), offset_(offset), size_(size) {}
  bool read(std::uint64_t offset, void* buffer, std::size_t count) override {
    if (offset > size_ || count > size_ - offset) return false;
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset_ + offset);
    if (!SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN)) return false;
    DWORD got = 0;
    return ReadFile(handle_, buffer, static_cast<DWORD>(count), &got, nullptr) && got == count;
  }
  std::uint64_t size() const override { return size_; }

 private:
  HANDLE handle_;
  std::uint64_t offset_, size_;
};

}  // namespace

std::unique_ptr<ImageSource> openHandleSource(FileHandle handle, std::uint64_t offset, std::uint64_t size,
                                              int* error) {
  HANDLE h = reinterpret_cast<HANDLE>(handle);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) {
    *error = kImageCannotOpen;
    return nullptr;
  }
  return std::make_unique<HandleSource>(h, offset, size);
}

std::unique_ptr<ImageSource> openResourceSource(ModuleHandle module, int resourceId, int* error) {
  HMODULE m = reinterpret_cast<HMODULE>(module);
  HRSRC found = FindResourceW(m, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL loaded = found ? LoadResource(m, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) {
    *error = kImageCannotOpen;
    return nullptr;
  }
  // Resource memory lives as long as the module.
  return openMemorySource(data, SizeofResource(m, found));
}

std::string resolveShortcut(const std::string& path) {
  if (pathExtension(path) != ".lnk") return path;
  std::string target = path;
  HRESULT init = CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t resolved[MAX_PATH];
      if (SUCCEEDED(file->Load(Utf16(path).c_str(), STGM_READ)) &&
          link->GetPath(resolved, MAX_PATH, nullptr, 0) == S_OK)
        target = Utf8(resolved);
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return target;
}

}  // namespace imagefile
