// Reading ISO 9660 volumes out of disc images: the volume descriptors of the
// last session, directory records, and files as runs of 2048-byte data
// sectors (from Form 1 or Mode 1 sectors of raw images).
#include "disc_image.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <new>

#include "rescue_map.h"

namespace pcdimage {

namespace {

constexpr std::uint32_t kFirstDescriptor = 16;
constexpr std::uint32_t kMaxDescriptors = 64;
constexpr std::uint32_t kMaxFolderSize = 1 << 20;  // far more than any Photo CD folder holds
constexpr std::uint32_t kMaxDepth = 32;
constexpr std::uint32_t kRawBatch = 32;   // raw sectors read at once
constexpr std::uint32_t kReadAhead = 16;  // data sectors read ahead for small reads
constexpr std::uint32_t kRecordHead = 33;
const std::uint8_t kSync[12] = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0};

std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Upper case, without an ISO 9660 version suffix or the dot of a name without extension.
std::string Comparable(std::string name) {
  std::size_t semicolon = name.find(';');
  if (semicolon != std::string::npos) name.erase(semicolon);
  if (!name.empty() && name.back() == '.') name.pop_back();
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

// One directory record from the bytes left in its sector; 0 when the sector
// has no more records, -1 when the record is damaged, else its length.
int ParseRecord(const std::uint8_t* record, std::uint32_t left, DirectoryEntry& entry) {
  std::uint32_t length = record[0];
  if (length == 0) return 0;
  if (length < kRecordHead + 1 || length > left || kRecordHead + record[32] > length || record[32] == 0) return -1;
  // An extended attribute record (byte 1, in blocks) comes before the data.
  if (Le32(record + 2) > 0xFFFFFFFFu - record[1]) return -1;
  entry.extent = Le32(record + 2) + record[1];
  entry.size = Le32(record + 10);
  entry.directory = (record[25] & 0x02) != 0;
  entry.unitSize = record[26];
  entry.gapSize = record[27];
  std::uint32_t nameLength = record[32];
  const char* name = reinterpret_cast<const char*>(record + kRecordHead);
  if (nameLength == 1 && (name[0] == 0 || name[0] == 1))
    entry.name = name[0] == 0 ? "." : "..";
  else
    entry.name.assign(name, nameLength);
  return static_cast<int>(length);
}

// The disc sector holding a file's data sector k (interleaved files skip a
// gap after each unit).
std::uint32_t SectorOf(const DirectoryEntry& file, std::uint32_t k) {
  if (file.unitSize == 0) return file.extent + k;
  return file.extent + k / file.unitSize * (file.unitSize + file.gapSize) + k % file.unitSize;
}

}  // namespace

bool IsDiscImageName(const std::string& name) {
  if (name.size() < 5) return false;
  std::string tail = Comparable(name.substr(name.size() - 4));
  return tail == ".ISO" || tail == ".BIN" || tail == ".CUE" || tail == ".IMG";
}

// What opening an image learns: where its sectors lie, its root, and the
// folders read so far. Immutable but for the folders, which the mutex guards.
struct ImageIndex {
  std::string path;
  TrackLayout layout;
  DirectoryEntry root;
  std::vector<std::shared_ptr<const PcdRescueMap>> maps;  // by layout file; null without a map
  std::mutex mutex;
  std::map<std::uint32_t, std::vector<DirectoryEntry>> folders;  // by extent
};

namespace {

// The images opened last, so that each file opened in one costs no more than
// opening its data file: a photo opens its image several times over.
constexpr std::size_t kCachedImages = 4;
constexpr std::size_t kCachedFolders = 256;
std::mutex g_cacheMutex;
std::vector<std::shared_ptr<ImageIndex>> g_cache;  // most recent first

std::shared_ptr<ImageIndex> CachedIndex(const std::string& path) {
  std::lock_guard<std::mutex> lock(g_cacheMutex);
  for (const std::shared_ptr<ImageIndex>& index : g_cache)
    if (index->path == path) return index;
  return nullptr;
}

void CacheIndex(const std::shared_ptr<ImageIndex>& index) {
  std::lock_guard<std::mutex> lock(g_cacheMutex);
  g_cache.erase(std::remove_if(g_cache.begin(), g_cache.end(),
                               [&index](const std::shared_ptr<ImageIndex>& e) { return e->path == index->path; }),
                g_cache.end());
  g_cache.insert(g_cache.begin(), index);
  if (g_cache.size() > kCachedImages) g_cache.pop_back();
}

// The ddrescue map of each file of the image: its own, or for an image of one
// file (a .bin and its .cue) the one given for the image.
PcdStatus FindMaps(ImageIndex& index, std::string& why) {
  for (const std::string& file : index.layout.files) {
    std::shared_ptr<const PcdRescueMap> map;
    PcdStatus status = PcdRescueMapOf(file, true, map, why);
    if (status == kPcdOk && !map && index.layout.files.size() == 1 && file != index.path)
      status = PcdRescueMapOf(index.path, true, map, why);
    if (status != kPcdOk) return status;
    index.maps.push_back(std::move(map));
  }
  return kPcdOk;
}

}  // namespace

bool SplitImagePath(const std::string& path, std::string& image, std::string& inside) {
  for (std::size_t end = path.find_first_of("/\\"); end != std::string::npos;
       end = path.find_first_of("/\\", end + 1)) {
    std::size_t start = path.find_last_of("/\\", end == 0 ? 0 : end - 1);
    start = start == std::string::npos || start >= end ? 0 : start + 1;
    if (end + 1 >= path.size() || !IsDiscImageName(path.substr(start, end - start))) continue;
    // An image opened lately needs no look-up; opening it checks it is still there.
    if (!CachedIndex(path.substr(0, end)) && !PcdLocalFileExists(path.substr(0, end).c_str())) continue;
    image = path.substr(0, end);
    inside = path.substr(end + 1);
    return true;
  }
  return false;
}

DiscImage::~DiscImage() {
  for (PcdLocalFile* file : files_)
    if (file) PcdLocalFileClose(file);
}

// Opens the layout's files; fails when one is missing or was written since
// the layout was read (a cached index is then read again).
PcdStatus DiscImage::OpenFiles(std::string& why) {
  FileStamp sheet;
  if (!layout_->sheet.empty() && (!ReadFileStamp(layout_->sheet, sheet) || !(sheet == layout_->sheetStamp))) {
    why = layout_->sheet + " changed while it was read";
    return kPcdOpenFailed;
  }
  for (std::size_t f = 0; f < layout_->files.size(); ++f) {
    files_.push_back(nullptr);
    positions_.push_back(0);
    FileStamp stamp;
    if (PcdLocalFileOpen(layout_->files[f].c_str(), files_.back()) != kPcdOk) {
      why = "cannot open " + layout_->files[f];
      return kPcdOpenFailed;
    }
    if (PcdLocalFileInfo(files_.back(), stamp.size, stamp.written) != kPcdOk || !(stamp == layout_->fileStamps[f])) {
      why = layout_->files[f] + " changed while it was read";
      return kPcdOpenFailed;
    }
  }
  return kPcdOk;
}

PcdStatus DiscImage::Open(const std::string& path, std::unique_ptr<DiscImage>& image, std::string& why) {
  image.reset(new (std::nothrow) DiscImage);
  if (!image) return kPcdOutOfMemory;
  if (std::shared_ptr<ImageIndex> cached = CachedIndex(path)) {
    image->index_ = cached;
    image->layout_ = &cached->layout;
    if (image->OpenFiles(why) == kPcdOk) return kPcdOk;
    image.reset(new (std::nothrow) DiscImage);
    if (!image) return kPcdOutOfMemory;
  }
  std::shared_ptr<ImageIndex> index(new (std::nothrow) ImageIndex);
  if (!index) return kPcdOutOfMemory;
  index->path = path;
  image->index_ = index;
  image->layout_ = &index->layout;
  PcdStatus status = ReadTrackLayout(path, index->layout, why);
  if (status == kPcdOk) status = FindMaps(*index, why);
  if (status == kPcdOk) status = image->OpenFiles(why);
  if (status == kPcdOk) status = image->ReadVolume(why);
  if (status != kPcdOk && status != kPcdOutOfMemory && image->files_.size() == index->layout.files.size() &&
      index->layout.LastSessionData() && index->layout.LastSessionData()->session > 1) {
    // A rip may keep the gaps between sessions or leave them out: try the other reading.
    std::string otherWhy;
    index->layout.SetSessionGaps(false);
    if (image->ReadVolume(otherWhy) == kPcdOk) status = kPcdOk;
  }
  if (status != kPcdOk) {
    image.reset();
    return status;
  }
  CacheIndex(index);
  return kPcdOk;
}

PcdStatus DiscImage::ReadVolume(std::string& why) {
  const Track* track = layout_->LastSessionData();
  if (!track) {
    why = "the image has no data track";
    return kPcdBadSignature;
  }
  std::uint8_t sector[kDataSectorSize];
  for (std::uint32_t i = 0; i < kMaxDescriptors; ++i) {
    if (ReadSector(track->firstLba + kFirstDescriptor + i, sector) != kPcdOk ||
        std::memcmp(sector + 1, "CD001", 5) != 0 || sector[0] == 255)
      break;
    if (sector[0] != 1) continue;  // boot records, Joliet and other supplementary volumes
    if ((sector[128] | (sector[129] << 8)) != kDataSectorSize) {
      why = "the volume's logical blocks are not 2048 bytes";
      return kPcdNotSupported;
    }
    DirectoryEntry root;
    if (ParseRecord(sector + 156, 34, root) <= 0) break;
    return ReadRoot(root.extent, why);
  }
  why = "the image holds no ISO 9660 volume";
  return kPcdBadSignature;
}

// The root folder is its own first record ("."), which tells a true root
// from a misplaced one.
PcdStatus DiscImage::ReadRoot(std::uint32_t lba, std::string& why) {
  std::uint8_t sector[kDataSectorSize];
  DirectoryEntry self;
  if (ReadSector(lba, sector) != kPcdOk || ParseRecord(sector, kDataSectorSize, self) <= 0 || self.name != "." ||
      self.extent != lba || !self.directory) {
    why = "the image's root folder cannot be read";
    return kPcdBadSignature;
  }
  index_->root = self;
  return kPcdOk;
}

bool DiscImage::Fits(const DirectoryEntry& entry) const {
  std::uint32_t sectors = entry.size / kDataSectorSize + (entry.size % kDataSectorSize != 0);
  if (sectors == 0) return true;
  if (entry.unitSize == 0 && entry.gapSize != 0) return false;
  std::uint64_t k = sectors - 1, last = entry.extent + k;
  if (entry.unitSize) last = entry.extent + k / entry.unitSize * (entry.unitSize + entry.gapSize) + k % entry.unitSize;
  return last <= 0xFFFFFFFFu && layout_->Find(entry.extent) && layout_->Find(static_cast<std::uint32_t>(last));
}

PcdStatus DiscImage::List(const DirectoryEntry& folder, std::vector<DirectoryEntry>& entries, std::string& why) {
  entries.clear();
  if (!folder.directory || folder.unitSize != 0 || folder.size > kMaxFolderSize || !Fits(folder)) {
    why = "a folder of the image is damaged or lies past its end";
    return kPcdBadSignature;
  }
  {
    std::lock_guard<std::mutex> lock(index_->mutex);
    auto known = index_->folders.find(folder.extent);
    if (known != index_->folders.end()) {
      entries = known->second;
      return kPcdOk;
    }
  }
  std::uint8_t sector[kDataSectorSize];
  for (std::uint32_t at = 0; at < folder.size; at += kDataSectorSize) {
    if (ReadSector(folder.extent + at / kDataSectorSize, sector) != kPcdOk) {
      why = "a folder of the image cannot be read";
      return kPcdReadFailed;
    }
    std::uint32_t used = std::min(kDataSectorSize, folder.size - at);
    for (std::uint32_t offset = 0; offset < used;) {
      DirectoryEntry entry;
      int length = ParseRecord(sector + offset, used - offset, entry);
      if (length == 0) break;
      if (length < 0) {
        why = "a folder of the image holds a damaged record";
        return kPcdBadSignature;
      }
      offset += static_cast<std::uint32_t>(length);
      if (entry.name != "." && entry.name != "..") entries.push_back(std::move(entry));
    }
  }
  std::lock_guard<std::mutex> lock(index_->mutex);
  if (index_->folders.size() < kCachedFolders) index_->folders[folder.extent] = entries;
  return kPcdOk;
}

PcdStatus DiscImage::Find(const std::string& inside, DirectoryEntry& entry, std::string& why) {
  entry = index_->root;
  std::vector<DirectoryEntry> entries;
  std::uint32_t depth = 0;
  for (std::size_t start = 0; start < inside.size();) {
    std::size_t end = std::min(inside.find_first_of("/\\", start), inside.size());
    std::string name = Comparable(inside.substr(start, end - start));
    start = end + 1;
    if (name.empty() || name == ".") continue;
    if (++depth > kMaxDepth) {
      why = "the path is too deep";
      return kPcdOpenFailed;
    }
    PcdStatus status = List(entry, entries, why);
    if (status != kPcdOk) return status;
    auto match = std::find_if(entries.begin(), entries.end(),
                              [&name](const DirectoryEntry& e) { return Comparable(e.name) == name; });
    if (match == entries.end()) {
      why = "the image holds no " + inside;
      return kPcdOpenFailed;
    }
    entry = *match;
  }
  if (!Fits(entry)) {
    const std::uint32_t held = entry.directory ? 0 : SectorsInImage(entry);
    if (held == 0) {
      why = entry.name + " lies past the end of the image";
      return kPcdBadSignature;
    }
    entry.recordedSize = entry.size;
    entry.size = held * kDataSectorSize;
  }
  return kPcdOk;
}

std::uint32_t DiscImage::SectorsInImage(const DirectoryEntry& entry) const {
  if (entry.unitSize == 0 && entry.gapSize != 0) return 0;
  const auto inImage = [&](std::uint32_t k) {
    const std::uint64_t lba = entry.unitSize ? entry.extent + std::uint64_t{k} / entry.unitSize * (entry.unitSize + entry.gapSize) +
                                                   k % entry.unitSize
                                             : std::uint64_t{entry.extent} + k;
    if (lba > 0xFFFFFFFFu) return false;
    const Track* track = layout_->Find(static_cast<std::uint32_t>(lba));
    return track && track->data;
  };
  // The image ends once: the first sector past it, by halving.
  std::uint32_t low = 0, high = entry.size / kDataSectorSize + (entry.size % kDataSectorSize != 0);
  while (low < high) {
    const std::uint32_t middle = low + (high - low) / 2;
    if (inImage(middle)) low = middle + 1;
    else high = middle;
  }
  return low;
}

PcdStatus DiscImage::Read(const DirectoryEntry& file, std::uint32_t offset, void* buffer, std::uint32_t count,
                          std::uint32_t& got) {
  got = 0;
  if (offset >= file.size) return kPcdOk;
  count = std::min(count, file.size - offset);
  auto* out = static_cast<std::uint8_t*>(buffer);
  while (got < count) {
    std::uint32_t position = offset + got;
    std::uint32_t k = position / kDataSectorSize, within = position % kDataSectorSize;
    std::uint32_t left = count - got;
    if (within == 0 && left >= kReadAhead * kDataSectorSize) {
      // Long runs of whole sectors go straight to the caller, as far as the unit runs on.
      std::uint32_t sectors = left / kDataSectorSize;
      if (file.unitSize) sectors = std::min<std::uint32_t>(sectors, file.unitSize - k % file.unitSize);
      PcdStatus status = ReadSectors(SectorOf(file, k), sectors, out + got);
      if (status != kPcdOk) return status;
      got += sectors * kDataSectorSize;
      continue;
    }
    const std::uint8_t* sector = nullptr;
    PcdStatus status = CachedSector(file, k, sector);
    if (status != kPcdOk) return status;
    std::uint32_t part = std::min(left, kDataSectorSize - within);
    std::memcpy(out + got, sector + within, part);
    got += part;
  }
  return kPcdOk;
}

bool DiscImage::HasRescueMap() const {
  return std::any_of(index_->maps.begin(), index_->maps.end(), [](const auto& map) { return map != nullptr; });
}

PcdStatus DiscImage::UnreadSectors(const DirectoryEntry& file, std::vector<std::uint32_t>& sectors) const {
  sectors.clear();
  for (std::uint32_t k = 0; k < (file.size + kDataSectorSize - 1) / kDataSectorSize; ++k) {
    const std::uint32_t lba = SectorOf(file, k);
    const Track* track = layout_->Find(lba);
    if (!track || !track->data) return kPcdReadFailed;
    const PcdRescueMap* map = index_->maps[track->file].get();
    const std::uint64_t position = track->position + std::uint64_t{lba - track->firstLba} * track->sectorSize;
    if (map && !map->Readable(position, position + track->sectorSize)) sectors.push_back(k);
  }
  return kPcdOk;
}

PcdStatus DiscImage::ReadSector(std::uint32_t lba, std::uint8_t* data) { return ReadSectors(lba, 1, data); }

PcdStatus DiscImage::CachedSector(const DirectoryEntry& file, std::uint32_t k, const std::uint8_t*& data) {
  const std::uint32_t lba = SectorOf(file, k);
  if (aheadCount_ == 0 || lba < aheadLba_ || lba - aheadLba_ >= aheadCount_) {
    // Read on to the end of the unit or the file, never into a gap.
    std::uint32_t run = std::min(kReadAhead, (file.size + kDataSectorSize - 1) / kDataSectorSize - k);
    if (file.unitSize) run = std::min<std::uint32_t>(run, file.unitSize - k % file.unitSize);
    ahead_.resize(kReadAhead * kDataSectorSize);
    aheadCount_ = 0;
    PcdStatus status = ReadSectors(lba, run, ahead_.data());
    if (status != kPcdOk && run > 1) {
      run = 1;
      status = ReadSectors(lba, run, ahead_.data());
    }
    if (status != kPcdOk) return status;
    aheadLba_ = lba;
    aheadCount_ = run;
  }
  data = ahead_.data() + (lba - aheadLba_) * kDataSectorSize;
  return kPcdOk;
}

PcdStatus DiscImage::ReadSectors(std::uint32_t lba, std::uint32_t count, std::uint8_t* data) {
  while (count > 0) {
    const Track* track = layout_->Find(lba);
    if (!track || !track->data) return kPcdReadFailed;  // past the end, in a gap or in audio
    std::uint32_t sectors = std::min(count, track->sectorCount - (lba - track->firstLba));
    if (track->sectorSize == kRawSectorSize) sectors = std::min(sectors, kRawBatch);
    std::uint32_t bytes = sectors * track->sectorSize;
    std::uint32_t position = track->position + (lba - track->firstLba) * track->sectorSize;
    // Where the copy's map says the drive's read failed, this read fails too.
    const PcdRescueMap* map = index_->maps[track->file].get();
    if (map && !map->Readable(position, std::uint64_t{position} + bytes)) return kPcdReadFailed;
    PcdLocalFile* file = files_[track->file];
    std::uint32_t& next = positions_[track->file];
    if (next != position && PcdLocalFileSeek(file, position) != kPcdOk) return kPcdSeekFailed;
    if (track->sectorSize == kRawSectorSize && raw_.size() < bytes) raw_.resize(kRawBatch * kRawSectorSize);
    std::uint8_t* target = track->sectorSize == kRawSectorSize ? raw_.data() : data;
    std::uint32_t got = 0;
    PcdStatus status = PcdLocalFileRead(file, target, bytes, got);
    next = position + got;
    if (status != kPcdOk) {
      next = 0xFFFFFFFFu;
      return status;
    }
    if (got != bytes) return kPcdEndOfFile;
    if (track->sectorSize == kRawSectorSize) {
      for (std::uint32_t s = 0; s < sectors; ++s) {
        const std::uint8_t* raw = raw_.data() + s * kRawSectorSize;
        if (std::memcmp(raw, kSync, sizeof kSync) != 0) return kPcdReadFailed;
        std::uint32_t header = raw[15] == 1 ? 16 : 24;
        // Mode 2: the subheader's submode (byte 18) marks Form 2 sectors, which hold no file data.
        if ((raw[15] != 1 && raw[15] != 2) || (raw[15] == 2 && (raw[18] & 0x20))) return kPcdReadFailed;
        std::memcpy(data + s * kDataSectorSize, raw + header, kDataSectorSize);
      }
    }
    data += sectors * kDataSectorSize;
    lba += sectors;
    count -= sectors;
  }
  return kPcdOk;
}

}  // namespace pcdimage
