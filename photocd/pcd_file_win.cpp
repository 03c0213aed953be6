// Win32 backend of the file layer: plain kernel file handles, read-only and
// share-deny-none so that a disc being read elsewhere stays readable. Names are
// turned into UTF-16 here and handed to the W functions, so that a program
// whose names are UTF-8 reaches every file.
#include <windows.h>

#include <io.h>

#include <atomic>
#include <new>
#include <string>

#include "pcd_local_file.h"
#include "pcd_text_win.h"

struct PcdLocalFile {
  HANDLE handle;
};

namespace {

std::atomic<UINT> g_nameCodePage{CP_ACP};

std::wstring WideName(const char* name) { return PcdWideText(name, g_nameCodePage); }
std::string NarrowName(const wchar_t* name) { return PcdNarrowText(name, g_nameCodePage); }

}  // namespace

std::wstring PcdWideText(const char* text, unsigned codePage) {
  const int length = MultiByteToWideChar(codePage, 0, text, -1, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text, -1, &wide[0], length);
  wide.resize(static_cast<std::size_t>(length) - 1);
  return wide;
}

std::string PcdNarrowText(const wchar_t* text, unsigned codePage) {
  const int length = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string narrow(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, 0, text, -1, &narrow[0], length, nullptr, nullptr);
  narrow.resize(static_cast<std::size_t>(length) - 1);
  return narrow;
}

void PcdLocalNamesAreUtf8() { g_nameCodePage = CP_UTF8; }

std::FILE* PcdLocalOpenStream(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  return _wfopen(WideName(path).c_str(), WideName(mode).c_str());
}

bool PcdLocalRemove(const char* path) { return path && _wremove(WideName(path).c_str()) == 0; }

bool PcdLocalSyncStream(std::FILE* stream) {
  return stream && std::fflush(stream) == 0 && FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))));
}

PcdStatus PcdLocalFileOpen(const char* path, PcdLocalFile*& file) {
  file = nullptr;
  if (!path || !*path) return kPcdOpenFailed;
  HANDLE handle = CreateFileW(WideName(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return kPcdOpenFailed;
  file = new (std::nothrow) PcdLocalFile{handle};
  if (!file) {
    CloseHandle(handle);
    return kPcdOutOfMemory;
  }
  return kPcdOk;
}

bool PcdLocalFileReadPiece(PcdLocalFile* file, void* buffer, std::uint32_t size, std::uint32_t& got) {
  DWORD read = 0;
  BOOL ok = ReadFile(file->handle, buffer, size, &read, nullptr);
  got = read;
  return ok != FALSE;
}

PcdStatus PcdLocalFileSeek(PcdLocalFile* file, std::uint32_t offset) {
  if (!file || offset > 0x7FFFFFFFu) return kPcdSeekFailed;
  DWORD result = SetFilePointer(file->handle, static_cast<LONG>(offset), nullptr, FILE_BEGIN);
  if (result == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return kPcdSeekFailed;
  return kPcdOk;
}

PcdStatus PcdLocalFileInfo(PcdLocalFile* file, std::uint32_t& size, std::uint64_t& written) {
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(file->handle, &info) || info.nFileSizeHigh != 0 ||
      info.nFileSizeLow > 0x7FFFFFFFu)
    return kPcdSeekFailed;
  size = info.nFileSizeLow;
  written = static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32 | info.ftLastWriteTime.dwLowDateTime;
  return kPcdOk;
}

PcdStatus PcdLocalFileClose(PcdLocalFile* file) {
  if (!file) return kPcdInvalidArgument;
  BOOL ok = CloseHandle(file->handle);
  delete file;
  return ok ? kPcdOk : kPcdCloseFailed;
}

bool PcdLocalFileExists(const char* path) {
  if (!path || !*path) return false;
  DWORD attributes = GetFileAttributesW(WideName(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

PcdStatus PcdLocalListFolder(const char* path, std::vector<PcdFolderEntry>& entries) {
  entries.clear();
  if (!path || !*path) return kPcdOpenFailed;
  std::wstring pattern = WideName(path);
  if (pattern.empty()) return kPcdOpenFailed;
  if (pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? kPcdOk : kPcdOpenFailed;
  do {
    const std::string name = NarrowName(found.cFileName);
    if (name == "." || name == "..") continue;
    entries.push_back(PcdFolderEntry{name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return kPcdOk;
}
