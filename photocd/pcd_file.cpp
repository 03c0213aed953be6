// The portable half of the file layer: local files or files inside a disc
// image behind one handle, and long reads split into pieces.
#include "pcd_file.h"

#include <memory>
#include <new>
#include <string>

#include "disc_image.h"
#include "pcd_local_file.h"

struct PcdFile {
  PcdLocalFile* local = nullptr;
  std::unique_ptr<pcdimage::DiscImage> image;  // with entry and position, a file inside an image
  pcdimage::DirectoryEntry entry;
  std::uint32_t position = 0;
};

namespace {
constexpr std::uint32_t kReadPieceSize = 32768;

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
  std::string image, inside;
  PcdStatus status = path && pcdimage::SplitImagePath(path, image, inside)
                         ? OpenInImage(image, inside, opened->image, opened->entry)
                         : PcdLocalFileOpen(path, opened->local);
  if (status != kPcdOk) return status;
  file = opened.release();
  return kPcdOk;
}

PcdStatus PcdFileRead(PcdFile* file, void* buffer, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (!file || (!buffer && size)) return kPcdInvalidArgument;
  if (file->local) return PcdLocalFileRead(file->local, buffer, size, got);
  PcdStatus status = file->image->Read(file->entry, file->position, buffer, size, got);
  file->position += got;
  return status;
}

PcdStatus PcdFileSeek(PcdFile* file, std::uint32_t offset) {
  if (!file || offset > 0x7FFFFFFFu) return kPcdSeekFailed;
  if (file->local) return PcdLocalFileSeek(file->local, offset);
  file->position = offset;
  return kPcdOk;
}

PcdStatus PcdFileSize(PcdFile* file, std::uint32_t& size) {
  if (!file) return kPcdInvalidArgument;
  std::uint64_t written = 0;
  if (file->local) return PcdLocalFileInfo(file->local, size, written);
  size = file->entry.size;
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
