// Where a disc image keeps each disc sector: the image files, the tracks in
// them with their sector size, and the sessions. An .iso (or a lone .bin) is
// one data track; a cue sheet lists files and tracks.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pcd_status.h"

namespace pcdimage {

constexpr std::uint32_t kDataSectorSize = 2048;
constexpr std::uint32_t kRawSectorSize = 2352;

struct Track {
  int file = 0;                      // index into TrackLayout::files
  std::uint32_t firstLba = 0;        // disc sector of the track's first sector
  std::uint32_t ripLba = 0;          // the same, counting only sectors in the image files
  std::uint32_t position = 0;        // byte position of that sector in its file
  std::uint32_t sectorCount = 0;
  std::uint32_t sectorSize = kDataSectorSize;  // 2048: user data only; 2352: raw sectors
  bool data = true;                  // false for audio tracks
  int session = 1;
};

// A file as it was when read: an index read from it is still good while both match.
struct FileStamp {
  std::uint32_t size = 0;
  std::uint64_t written = 0;
  bool operator==(const FileStamp& other) const { return size == other.size && written == other.written; }
};

struct TrackLayout {
  std::string sheet;                   // the cue sheet; empty for a lone image file
  FileStamp sheetStamp;
  std::vector<std::string> files;
  std::vector<FileStamp> fileStamps;
  std::vector<Track> tracks;  // in disc order

  // The track holding a disc sector, or null.
  const Track* Find(std::uint32_t lba) const;
  // The first data track of the last session that has one, or null.
  const Track* LastSessionData() const;
  // Moves the tracks of later sessions by the lead-out, lead-in and pre-gap a
  // pressed disc keeps between sessions and a rip leaves out (or back).
  void SetSessionGaps(bool present);
};

// Reads the layout of the image at path; why says what is wrong on failure.
PcdStatus ReadTrackLayout(const std::string& path, TrackLayout& layout, std::string& why);
// The size and last-write time of a file; false when it cannot be opened.
bool ReadFileStamp(const std::string& path, FileStamp& stamp);

// Parses cue sheet text; file names are taken beside the sheet (folder ends
// in a separator or is empty). Track sizes are set by ReadTrackLayout.
bool ParseCueSheet(const std::string& text, const std::string& folder, TrackLayout& layout, std::string& why);

}  // namespace pcdimage
