// Win32 backend of the file layer: plain kernel file handles, read-only and
// share-deny-none so that a disc being read elsewhere stays readable.
#include <windows.h>

#include <new>

#include "pcd_file.h"

struct PcdFile {
  HANDLE handle;
};

PcdStatus PcdFileOpen(const char* path, PcdFile*& file) {
  file = nullptr;
  if (!path || !*path) return kPcdOpenFailed;
  HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return kPcdOpenFailed;
  file = new (std::nothrow) PcdFile{handle};
  if (!file) {
    CloseHandle(handle);
    return kPcdOutOfMemory;
  }
  return kPcdOk;
}

bool PcdFileReadPiece(PcdFile* file, void* buffer, std::uint32_t size, std::uint32_t& got) {
  DWORD read = 0;
  BOOL ok = ReadFile(file->handle, buffer, size, &read, nullptr);
  got = read;
  return ok != FALSE;
}

PcdStatus PcdFileSeek(PcdFile* file, std::uint32_t offset) {
  if (!file || offset > 0x7FFFFFFFu) return kPcdSeekFailed;
  DWORD result = SetFilePointer(file->handle, static_cast<LONG>(offset), nullptr, FILE_BEGIN);
  if (result == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return kPcdSeekFailed;
  return kPcdOk;
}

PcdStatus PcdFileClose(PcdFile* file) {
  if (!file) return kPcdInvalidArgument;
  BOOL ok = CloseHandle(file->handle);
  delete file;
  return ok ? kPcdOk : kPcdCloseFailed;
}

bool PcdFileExists(const char* path) {
  if (!path || !*path) return false;
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
