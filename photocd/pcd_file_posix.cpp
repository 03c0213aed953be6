// POSIX backend of the file layer. The toolkit forms disc paths the way the
// disc writes them ("PHOTO_CD\IMAGES\IMG0001.PCD;1"); a Linux mount may show
// the same tree in lower case and with or without ISO 9660 version suffixes.
// Paths are therefore mapped onto the local file system one component at a
// time, matching names case-insensitively and ignoring a ";n" suffix.
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

#include "pcd_local_file.h"

struct PcdLocalFile {
  int fd;
};

namespace {

constexpr std::size_t kLocalPathMax = 4096;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Length of a name without its ISO 9660 version suffix (";" and digits).
std::size_t LengthWithoutVersion(const char* name, std::size_t length) {
  std::size_t end = length;
  while (end > 0 && name[end - 1] >= '0' && name[end - 1] <= '9') --end;
  if (end > 0 && end < length && name[end - 1] == ';') return end - 1;
  return length;
}

// 0: identical; 1: same but for case; 2: same but for case and version suffix; 3: different.
int MatchRank(const char* wanted, std::size_t wantedLength, const char* entry) {
  std::size_t entryLength = std::strlen(entry);
  if (entryLength == wantedLength && std::strncmp(entry, wanted, wantedLength) == 0) return 0;
  if (entryLength == wantedLength && strncasecmp(entry, wanted, wantedLength) == 0) return 1;
  std::size_t a = LengthWithoutVersion(wanted, wantedLength);
  std::size_t b = LengthWithoutVersion(entry, entryLength);
  if (a == b && strncasecmp(entry, wanted, a) == 0) return 2;
  return 3;
}

// Joins a name to a folder path, with one slash between them.
bool Join(char* path, std::size_t& length, const char* name, std::size_t count) {
  bool needSlash = length > 0 && path[length - 1] != '/';
  if (length + needSlash + count + 1 > kLocalPathMax) return false;
  if (needSlash) path[length++] = '/';
  std::memcpy(path + length, name, count);
  length += count;
  path[length] = '\0';
  return true;
}

// Joins the entry of the folder at path that best matches the wanted name.
bool JoinMatchingEntry(char* path, std::size_t& length, const char* wanted, std::size_t wantedLength) {
  DIR* dir = opendir(path);
  if (!dir) return false;
  char best[NAME_MAX + 1] = "";
  int bestRank = 3;
  while (dirent* entry = readdir(dir)) {
    int rank = MatchRank(wanted, wantedLength, entry->d_name);
    // Lower rank wins; among equals the smallest name, so the choice does not
    // depend on directory order.
    if (rank < bestRank || (rank == bestRank && rank < 3 && std::strcmp(entry->d_name, best) < 0)) {
      bestRank = rank;
      std::strncpy(best, entry->d_name, NAME_MAX);
      best[NAME_MAX] = '\0';
    }
  }
  closedir(dir);
  return bestRank < 3 && Join(path, length, best, std::strlen(best));
}

// Maps a toolkit path (either separator, absolute or relative) onto an
// existing local path.
bool MapToLocalPath(const char* path, char* local) {
  if (!path || !*path) return false;
  // Most paths exist as written: one look-up instead of one per folder.
  struct stat whole;
  std::size_t pathLength = std::strlen(path);
  if (!std::strchr(path, '\\') && pathLength < kLocalPathMax && stat(path, &whole) == 0) {
    std::memcpy(local, path, pathLength + 1);
    return true;
  }
  std::size_t length = 1;
  local[0] = IsSeparator(path[0]) ? '/' : '.';
  local[1] = '\0';
  const char* p = path;
  while (*p) {
    while (IsSeparator(*p)) ++p;
    const char* name = p;
    while (*p && !IsSeparator(*p)) ++p;
    std::size_t count = static_cast<std::size_t>(p - name);
    if (count == 0 || (count == 1 && name[0] == '.')) continue;
    if (count > NAME_MAX) return false;
    std::size_t folderLength = length;
    if (!Join(local, length, name, count)) return false;
    bool isParent = count == 2 && name[0] == '.' && name[1] == '.';
    struct stat info;
    if (isParent || stat(local, &info) == 0) continue;  // the name exists as written
    length = folderLength;
    local[length] = '\0';
    if (!JoinMatchingEntry(local, length, name, count)) return false;
  }
  return true;
}

}  // namespace

PcdStatus PcdLocalFileOpen(const char* path, PcdLocalFile*& file) {
  file = nullptr;
  char local[kLocalPathMax];
  if (!MapToLocalPath(path, local)) return kPcdOpenFailed;
  int fd = open(local, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return kPcdOpenFailed;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return kPcdOpenFailed;
  }
  file = new (std::nothrow) PcdLocalFile{fd};
  if (!file) {
    close(fd);
    return kPcdOutOfMemory;
  }
  return kPcdOk;
}

bool PcdLocalFileReadPiece(PcdLocalFile* file, void* buffer, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  for (;;) {
    ssize_t n = read(file->fd, buffer, size);
    if (n >= 0) {
      got = static_cast<std::uint32_t>(n);
      return true;
    }
    if (errno != EINTR) return false;
  }
}

PcdStatus PcdLocalFileSeek(PcdLocalFile* file, std::uint32_t offset) {
  if (!file || offset > 0x7FFFFFFFu) return kPcdSeekFailed;
  if (lseek(file->fd, static_cast<off_t>(offset), SEEK_SET) < 0) return kPcdSeekFailed;
  return kPcdOk;
}

PcdStatus PcdLocalFileInfo(PcdLocalFile* file, std::uint32_t& size, std::uint64_t& written) {
  struct stat info;
  if (!file || fstat(file->fd, &info) != 0 || info.st_size < 0 || info.st_size > 0x7FFFFFFF) return kPcdSeekFailed;
  size = static_cast<std::uint32_t>(info.st_size);
  written = static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 1000000000u + static_cast<std::uint64_t>(info.st_mtim.tv_nsec);
  return kPcdOk;
}

PcdStatus PcdLocalFileClose(PcdLocalFile* file) {
  if (!file) return kPcdInvalidArgument;
  int result = close(file->fd);
  delete file;
  return result == 0 ? kPcdOk : kPcdCloseFailed;
}

bool PcdLocalFileExists(const char* path) {
  char local[kLocalPathMax];
  struct stat info;
  return MapToLocalPath(path, local) && stat(local, &info) == 0 && S_ISREG(info.st_mode);
}

PcdStatus PcdLocalListFolder(const char* path, std::vector<PcdFolderEntry>& entries) {
  entries.clear();
  char local[kLocalPathMax];
  if (!MapToLocalPath(path, local)) return kPcdOpenFailed;
  DIR* dir = opendir(local);
  if (!dir) return kPcdOpenFailed;
  std::size_t length = std::strlen(local);
  while (dirent* entry = readdir(dir)) {
    if (!std::strcmp(entry->d_name, ".") || !std::strcmp(entry->d_name, "..")) continue;
    // Links and file systems without entry types need a look at the entry itself.
    bool folder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      std::size_t childLength = length;
      struct stat info;
      folder = Join(local, childLength, entry->d_name, std::strlen(entry->d_name)) && stat(local, &info) == 0 &&
               S_ISDIR(info.st_mode);
      local[length] = '\0';
    }
    entries.push_back(PcdFolderEntry{entry->d_name, folder});
  }
  closedir(dir);
  return kPcdOk;
}

void PcdLocalNamesAreUtf8() {}

std::FILE* PcdLocalOpenStream(const char* path, const char* mode) { return std::fopen(path, mode); }

bool PcdLocalRemove(const char* path) { return std::remove(path) == 0; }

bool PcdLocalSyncStream(std::FILE* stream) { return stream && std::fflush(stream) == 0 && ::fsync(fileno(stream)) == 0; }
