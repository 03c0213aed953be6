// Photo CD disc images read without mounting them: .iso files of 2048-byte
// sectors and raw .bin/.cue rips of 2352-byte sectors (Mode 1, or Mode 2
// with Form 1 data among Form 2 and audio sectors). A toolkit path names a
// file inside an image by putting the image's own path first:
// "C:\discs\holiday.cue\PHOTO_CD\INFO.PCD". The file layer sends such paths
// here, so every reader of disc files reads images unchanged.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "disc_image_tracks.h"
#include "pcd_local_file.h"
#include "pcd_status.h"

namespace pcdimage {

// One record of a directory inside an image.
struct DirectoryEntry {
  std::string name;                        // as recorded, ";1" included
  bool directory = false;
  std::uint32_t extent = 0;                // first disc sector
  std::uint32_t size = 0;                  // bytes
  std::uint8_t unitSize = 0, gapSize = 0;  // interleaved files: sectors of data, then of gap
  // Nonzero for a file that runs past the end of the image (a copy cut
  // short): the size recorded, while size counts what the image still holds.
  std::uint32_t recordedSize = 0;
};

// True when name (a path component) ends like a disc image: .iso, .bin, .cue or .img.
bool IsDiscImageName(const std::string& name);

// Splits a path that runs into a disc image at the first component naming an
// existing image file; false when the path lies in no image.
bool SplitImagePath(const std::string& path, std::string& image, std::string& inside);

struct ImageIndex;  // what an image's layout and folders are, shared by its open files

class DiscImage {
 public:
  // Opens an image and its last session's volume; on failure why says what is wrong.
  static PcdStatus Open(const std::string& path, std::unique_ptr<DiscImage>& image, std::string& why);
  ~DiscImage();

  // The file or folder at a path inside the image (either separator, any
  // case, ";1" optional; empty is the root). A file that runs past the end of
  // the image is cut to what the image holds (recordedSize).
  PcdStatus Find(const std::string& inside, DirectoryEntry& entry, std::string& why);
  // Every record of a folder but "." and "..".
  PcdStatus List(const DirectoryEntry& folder, std::vector<DirectoryEntry>& entries, std::string& why);
  // Reads up to count bytes of a file from a byte offset; got < count only at its end.
  PcdStatus Read(const DirectoryEntry& file, std::uint32_t offset, void* buffer, std::uint32_t count,
                 std::uint32_t& got);
  // True when a file of the image reads through a ddrescue map (rescue_map.h).
  bool HasRescueMap() const;
  // The file's data sectors, by number from its start, that a map does not mark finished.
  PcdStatus UnreadSectors(const DirectoryEntry& file, std::vector<std::uint32_t>& sectors) const;

 private:
  DiscImage() = default;
  PcdStatus OpenFiles(std::string& why);
  PcdStatus ReadVolume(std::string& why);
  PcdStatus ReadRoot(std::uint32_t lba, std::string& why);
  PcdStatus ReadSector(std::uint32_t lba, std::uint8_t* data);
  // The file's data sector k from the read-ahead, which reads on along its run.
  PcdStatus CachedSector(const DirectoryEntry& file, std::uint32_t k, const std::uint8_t*& data);
  PcdStatus ReadSectors(std::uint32_t lba, std::uint32_t count, std::uint8_t* data);
  bool Fits(const DirectoryEntry& entry) const;
  // How many of the file's first sectors lie in the image.
  std::uint32_t SectorsInImage(const DirectoryEntry& entry) const;

  std::shared_ptr<ImageIndex> index_;
  const TrackLayout* layout_ = nullptr;   // the index's
  std::vector<PcdLocalFile*> files_;      // one per layout file, opened once
  std::vector<std::uint32_t> positions_;  // where each file's next read starts
  std::vector<std::uint8_t> raw_;     // raw sectors on their way to the caller
  std::vector<std::uint8_t> ahead_;       // data sectors read ahead for small reads
  std::uint32_t aheadLba_ = 0, aheadCount_ = 0;
};

}  // namespace pcdimage
