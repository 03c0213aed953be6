// The portable half of the file layer: local files or files inside a disc
// image behind one handle, and long reads split into pieces.
#include "pcd_file.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <string>

#include "disc_image.h"
#include "pcd_layout.h"
#include "pcd_local_file.h"
#include "rescue_map.h"

struct PcdFile {
  PcdLocalFile* local = nullptr;
  std::shared_ptr<const PcdRescueMap> map;     // a local file's, when it was copied by ddrescue
  std::uint32_t mappedSize = 0;                // the size of a local file with a map
  std::unique_ptr<pcdimage::DiscImage> image;  // with entry, a file inside an image
  pcdimage::DirectoryEntry entry;
  std::uint32_t position = 0;
  std::chrono::steady_clock::duration failing{};  // spent on reads that failed
  bool gaveUp = false;                            // sectors were lost untried
};

namespace {
constexpr std::uint32_t kReadPieceSize = 32768;
std::atomic<long long> g_readErrorBudgetMs{kPcdReadErrorBudget.count()};

// Reads and adds the time of a read that failed to the file's.
PcdStatus TimedRead(PcdFile* file, void* buffer, std::uint32_t size, std::uint32_t& got) {
  const auto start = std::chrono::steady_clock::now();
  const PcdStatus status = PcdFileRead(file, buffer, size, got);
  if (status == kPcdReadFailed) file->failing += std::chrono::steady_clock::now() - start;
  return status;
}

bool OutOfTime(const PcdFile* file) {
  return file->failing >= std::chrono::milliseconds(g_readErrorBudgetMs.load());
}

// Opens a disc image and finds a file in it; 3010 when the image is
// unreadable or the file is missing.
PcdStatus OpenInImage(const std::string& imagePath, const std::string& inside,
                      std::unique_ptr<pcdimage::DiscImage>& image, pcdimage::DirectoryEntry& entry) {
  std::string why;
  PcdStatus status = pcdimage::DiscImage::Open(imagePath, image, why);
  if (status == kPcdOk) status = image->Find(inside, entry, why);
  if (status == kPcdOutOfMemory) return status;
  if (status != kPcdOk || entry.directory) return kPcdOpenFailed;
  return kPcdOk;
}
}  // namespace

PcdStatus PcdLocalFileRead(PcdLocalFile* file, void* buffer, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (!file || (!buffer && size)) return kPcdInvalidArgument;
  auto* out = static_cast<unsigned char*>(buffer);
  while (got < size) {
    std::uint32_t want = size - got < kReadPieceSize ? size - got : kReadPieceSize;
    std::uint32_t piece = 0;
    if (!PcdLocalFileReadPiece(file, out + got, want, piece)) return kPcdReadFailed;
    got += piece;
    if (piece < want) break;  // end of file
  }
  return kPcdOk;
}

PcdStatus PcdFileOpen(const char* path, PcdFile*& file) {
  file = nullptr;
  std::unique_ptr<PcdFile> opened(new (std::nothrow) PcdFile);
  if (!opened) return kPcdOutOfMemory;
  std::string image, inside, why;
  PcdStatus status = path && pcdimage::SplitImagePath(path, image, inside)
                         ? OpenInImage(image, inside, opened->image, opened->entry)
                         : PcdLocalFileOpen(path, opened->local);
  if (status == kPcdOk && opened->local) status = PcdRescueMapOf(path, false, opened->map, why);
  std::uint64_t written = 0;
  if (status == kPcdOk && opened->map) status = PcdLocalFileInfo(opened->local, opened->mappedSize, written);
  if (status != kPcdOk) {
    if (opened->local) PcdLocalFileClose(opened->local);
    return status;
  }
  file = opened.release();
  return kPcdOk;
}

PcdStatus PcdFileRead(PcdFile* file, void* buffer, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (!file || (!buffer && size)) return kPcdInvalidArgument;
  PcdStatus status = kPcdOk;
  if (!file->local) {
    status = file->image->Read(file->entry, file->position, buffer, size, got);
  } else if (file->map && file->position < file->mappedSize &&
             !file->map->Readable(file->position, std::min<std::uint64_t>(file->mappedSize, std::uint64_t{file->position} + size))) {
    // The drive's read failed there; what the copy holds is not the disc's.
    status = PcdLocalFileSeek(file->local, file->position) == kPcdOk ? kPcdReadFailed : kPcdSeekFailed;
  } else {
    status = PcdLocalFileRead(file->local, buffer, size, got);
  }
  file->position += got;
  return status;
}

PcdStatus PcdFileSeek(PcdFile* file, std::uint32_t offset) {
  if (!file || offset > 0x7FFFFFFFu) return kPcdSeekFailed;
  if (file->local && PcdLocalFileSeek(file->local, offset) != kPcdOk) return kPcdSeekFailed;
  file->position = offset;
  return kPcdOk;
}

PcdStatus PcdFileReadAround(PcdFile* file, std::uint32_t offset, void* buffer, std::uint32_t size,
                            std::uint32_t& got, std::vector<std::uint32_t>& unreadable) {
  got = 0;
  unreadable.clear();
  if (!file || (!buffer && size)) return kPcdInvalidArgument;
  if (PcdFileSeek(file, offset) != kPcdOk) return kPcdSeekFailed;
  PcdStatus status = TimedRead(file, buffer, size, got);
  if (status != kPcdReadFailed) return status;
  // One bad sector fails a whole read: read again sector by sector, so that
  // only the sectors that do not read are lost. A drive can take seconds per
  // bad sector: once the file's failed reads have taken the budget, the
  // sectors not read yet are lost untried.
  auto* out = static_cast<std::uint8_t*>(buffer);
  got = 0;
  for (std::uint32_t sector = 0; got < size; ++sector) {
    const std::uint32_t want = std::min<std::uint32_t>(pcd::kSectorSize, size - got);
    std::uint32_t piece = 0;
    if (PcdFileSeek(file, offset + got) != kPcdOk) return kPcdSeekFailed;
    file->gaveUp = file->gaveUp || OutOfTime(file);
    status = file->gaveUp ? PcdStatus{kPcdReadFailed} : TimedRead(file, out + got, want, piece);
    if (status == kPcdOutOfMemory) return status;
    if (status != kPcdOk) {
      std::fill_n(out + got, want, 0);
      unreadable.push_back(sector);
      piece = want;
    }
    got += piece;
    if (piece < want) break;  // the end of the file
  }
  // A sector that failed at the end counts no further than the file reaches.
  std::uint32_t fileSize = 0;
  if (PcdFileSize(file, fileSize) == kPcdOk && fileSize > offset) got = std::min(got, fileSize - offset);
  return kPcdOk;
}

void PcdSetReadErrorBudget(std::chrono::milliseconds budget) { g_readErrorBudgetMs = budget.count(); }

bool PcdFileGaveUp(const PcdFile* file) { return file && file->gaveUp; }

bool PcdFileHasRescueMap(const PcdFile* file) {
  return file && (file->local ? file->map != nullptr : file->image->HasRescueMap());
}

PcdStatus PcdFileSize(PcdFile* file, std::uint32_t& size) {
  if (!file) return kPcdInvalidArgument;
  std::uint64_t written = 0;
  if (file->local) return PcdLocalFileInfo(file->local, size, written);
  size = file->entry.size;
  return kPcdOk;
}

PcdStatus PcdFileUnreadSectors(PcdFile* file, std::vector<std::uint32_t>& sectors) {
  sectors.clear();
  if (!file) return kPcdInvalidArgument;
  if (!file->local) return file->image->UnreadSectors(file->entry, sectors);
  if (!file->map) return kPcdOk;
  for (std::uint32_t at = 0; at < file->mappedSize; at += pcd::kSectorSize)
    if (!file->map->Readable(at, std::min(at + pcd::kSectorSize, file->mappedSize))) sectors.push_back(at / pcd::kSectorSize);
  return kPcdOk;
}

PcdStatus PcdFileClose(PcdFile* file) {
  if (!file) return kPcdInvalidArgument;
  PcdStatus status = kPcdOk;
  if (file->local) status = PcdLocalFileClose(file->local);
  delete file;
  return status;
}

bool PcdFileExists(const char* path) {
  if (!path || !*path) return false;
  std::string imagePath, inside;
  if (!pcdimage::SplitImagePath(path, imagePath, inside)) return PcdLocalFileExists(path);
  std::unique_ptr<pcdimage::DiscImage> image;
  pcdimage::DirectoryEntry entry;
  return OpenInImage(imagePath, inside, image, entry) == kPcdOk;
}

PcdStatus PcdListFolder(const char* path, std::vector<PcdFolderEntry>& entries) {
  entries.clear();
  if (!path || !*path) return kPcdOpenFailed;
  std::string imagePath, inside;
  if (!pcdimage::SplitImagePath(path, imagePath, inside)) {
    if (!pcdimage::IsDiscImageName(path) || !PcdLocalFileExists(path)) return PcdLocalListFolder(path, entries);
    imagePath = path;  // the image's root
  }
  std::unique_ptr<pcdimage::DiscImage> image;
  pcdimage::DirectoryEntry folder;
  std::vector<pcdimage::DirectoryEntry> records;
  std::string why;
  PcdStatus status = pcdimage::DiscImage::Open(imagePath, image, why);
  if (status == kPcdOk) status = image->Find(inside, folder, why);
  if (status == kPcdOk && !folder.directory) status = kPcdOpenFailed;
  if (status == kPcdOk) status = image->List(folder, records, why);
  if (status == kPcdOutOfMemory) return status;
  if (status != kPcdOk) return kPcdOpenFailed;
  for (const pcdimage::DirectoryEntry& record : records) entries.push_back(PcdFolderEntry{record.name, record.directory});
  return kPcdOk;
}

bool PcdFileCutShort(const PcdFile* file) { return file && file->image && file->entry.recordedSize != 0; }
