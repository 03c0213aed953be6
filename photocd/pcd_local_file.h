// The platform's own files, under the file layer: the backends
// (pcd_file_posix.cpp, pcd_file_win.cpp) implement these, and the file layer
// and the disc-image reader build on them.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "pcd_status.h"

struct PcdLocalFile;

// How the narrow names given to these functions are spelt. On Windows they are
// in the ANSI code page, as the system's A functions take them, until a
// program says once at start, before other threads run, that its names are
// UTF-8: the converter does, because the ANSI code page cannot spell every
// name. POSIX names are plain bytes, and this changes nothing there.
void PcdLocalNamesAreUtf8();
// std::fopen and std::remove for a name spelt as above.
std::FILE* PcdLocalOpenStream(const char* path, const char* mode);
bool PcdLocalRemove(const char* path);
// Writes what the stream holds through to the disk (not only to the system's
// cache), so that a file renamed over an older one after a power cut is whole.
bool PcdLocalSyncStream(std::FILE* stream);

// Opens an existing regular file read-only, shared with every other reader and writer.
PcdStatus PcdLocalFileOpen(const char* path, PcdLocalFile*& file);
// One read of at most 32768 bytes at the current position; false on a system error.
bool PcdLocalFileReadPiece(PcdLocalFile* file, void* buffer, std::uint32_t size, std::uint32_t& got);
PcdStatus PcdLocalFileSeek(PcdLocalFile* file, std::uint32_t offset);
// The file's size and last-write time (in the system's own units, only
// compared); 3009 when it is 2 GB or more (no disc is that large).
PcdStatus PcdLocalFileInfo(PcdLocalFile* file, std::uint32_t& size, std::uint64_t& written);
PcdStatus PcdLocalFileClose(PcdLocalFile* file);
bool PcdLocalFileExists(const char* path);

// One name in a folder.
struct PcdFolderEntry {
  std::string name;
  bool folder = false;
};
// The files and folders of a local folder, "." and ".." left out, in no
// particular order; 3010 when it cannot be read.
PcdStatus PcdLocalListFolder(const char* path, std::vector<PcdFolderEntry>& entries);

// Reads up to size bytes in 32768-byte pieces; got < size means the end of the file.
PcdStatus PcdLocalFileRead(PcdLocalFile* file, void* buffer, std::uint32_t size, std::uint32_t& got);
