// Win32 backend of the file layer: plain kernel file handles, read-only and
// share-deny-none so that a disc being read elsewhere stays readable.
#include <windows.h>

#include <new>
#include <string>

#include "pcd_local_file.h"

struct PcdLocalFile {
  HANDLE handle;
};

PcdStatus PcdLocalFileOpen(const char* path, PcdLocalFile*& file) {
  file = nullptr;
  if (!path || !*path) return kPcdOpenFailed;
  HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

PcdStatus PcdLocalListFolder(const char* path, std::vector<PcdFolderEntry>& entries) {
  entries.clear();
  if (!path || !*path) return kPcdOpenFailed;
  std::string pattern = path;
  if (pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? kPcdOk : kPcdOpenFailed;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    entries.push_back(PcdFolderEntry{name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return kPcdOk;
}
