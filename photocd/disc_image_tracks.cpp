// Track layouts of disc images: cue sheets, and the sector size of a lone image file.
#include "disc_image_tracks.h"

#include <cctype>
#include <cstring>
#include <sstream>

#include "pcd_local_file.h"

namespace pcdimage {

namespace {

constexpr std::uint32_t kMaxCueSize = 65536;
constexpr std::uint32_t kFirstSessionGap = 6750 + 4500 + 150;  // lead-out, lead-in, pre-gap
constexpr std::uint32_t kLaterSessionGap = 2250 + 4500 + 150;
const std::uint8_t kSync[12] = {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0};

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool EndsWith(const std::string& text, const char* tail) {
  std::size_t n = std::strlen(tail);
  return text.size() >= n && Upper(text.substr(text.size() - n)) == tail;
}

// "mm:ss:ff" as a sector count (75 frames a second).
bool ParseTime(const std::string& text, std::uint32_t& frames) {
  unsigned m = 0, s = 0, f = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%3u:%2u:%2u%c", &m, &s, &f, &tail) != 3 || s >= 60 || f >= 75) return false;
  frames = (m * 60 + s) * 75 + f;
  return frames <= 100 * 60 * 75;  // no disc holds more than 100 minutes
}

// The rest of a line after its command, as one name (quoted or not).
std::string QuotedName(std::istringstream& line) {
  line >> std::ws;
  std::string name;
  if (line.peek() == '"') {
    line.get();
    std::getline(line, name, '"');
  } else {
    line >> name;
  }
  return name;
}

bool HasSyncAt(PcdLocalFile* file, std::uint32_t position) {
  std::uint8_t head[12];
  std::uint32_t got = 0;
  return PcdLocalFileSeek(file, position) == kPcdOk && PcdLocalFileRead(file, head, 12, got) == kPcdOk &&
         got == 12 && std::memcmp(head, kSync, 12) == 0;
}

PcdStatus ReadSmallFile(const std::string& path, std::string& text, FileStamp& stamp, std::string& why) {
  PcdLocalFile* file = nullptr;
  if (PcdLocalFileOpen(path.c_str(), file) != kPcdOk) {
    why = "cannot open " + path;
    return kPcdOpenFailed;
  }
  std::uint32_t got = 0;
  PcdStatus status = PcdLocalFileInfo(file, stamp.size, stamp.written);
  const std::uint32_t size = stamp.size;
  if (status == kPcdOk && size > kMaxCueSize) {
    why = "the cue sheet is too large";
    status = kPcdBadSignature;
  } else if (status == kPcdOk) {
    text.resize(size);
    status = PcdLocalFileRead(file, &text[0], size, got);
    text.resize(got);
    if (status != kPcdOk) why = "cannot read " + path;
  }
  PcdLocalFileClose(file);
  return status;
}

}  // namespace

bool ReadFileStamp(const std::string& path, FileStamp& stamp) {
  PcdLocalFile* file = nullptr;
  if (PcdLocalFileOpen(path.c_str(), file) != kPcdOk) return false;
  bool ok = PcdLocalFileInfo(file, stamp.size, stamp.written) == kPcdOk;
  PcdLocalFileClose(file);
  return ok;
}

const Track* TrackLayout::Find(std::uint32_t lba) const {
  for (const Track& track : tracks)
    if (lba >= track.firstLba && lba - track.firstLba < track.sectorCount) return &track;
  return nullptr;
}

const Track* TrackLayout::LastSessionData() const {
  const Track* found = nullptr;
  for (const Track& track : tracks)
    if (track.data && (!found || track.session > found->session)) found = &track;
  return found;
}

void TrackLayout::SetSessionGaps(bool present) {
  for (Track& track : tracks) {
    std::uint32_t gap = 0;
    if (present && track.session >= 2) gap = kFirstSessionGap + (track.session - 2) * kLaterSessionGap;
    track.firstLba = track.ripLba + gap;
  }
}

bool ParseCueSheet(const std::string& text, const std::string& folder, TrackLayout& layout, std::string& why) {
  std::istringstream lines(text);
  std::string raw;
  int session = 1;
  bool trackOpen = false;
  while (std::getline(lines, raw)) {
    std::istringstream line(raw);
    std::string command;
    line >> command;
    command = Upper(command);
    if (command == "REM") {
      std::string what;
      int number = 0;
      line >> what;
      if (Upper(what) == "SESSION" && (line >> number) && number >= 1 && number <= 99) session = number;
    } else if (command == "FILE") {
      std::string name = QuotedName(line);
      if (name.empty() || layout.files.size() >= 99) {
        why = "the cue sheet names a file badly";
        return false;
      }
      bool absolute = name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':');
      layout.files.push_back(absolute ? name : folder + name);
      trackOpen = false;
    } else if (command == "TRACK") {
      std::string number, mode;
      line >> number >> mode;
      mode = Upper(mode);
      if (layout.files.empty() || layout.tracks.size() >= 99) {
        why = "the cue sheet lists a track outside any file";
        return false;
      }
      Track track;
      track.file = static_cast<int>(layout.files.size()) - 1;
      track.session = session;
      track.sectorCount = 0xFFFFFFFFu;  // no INDEX 01 yet
      if (mode == "MODE1/2048") {
        track.sectorSize = kDataSectorSize;
      } else if (mode == "MODE1/2352" || mode == "MODE2/2352") {
        track.sectorSize = kRawSectorSize;
      } else if (mode == "AUDIO") {
        track.sectorSize = kRawSectorSize;
        track.data = false;
      } else {
        why = "tracks of type " + mode + " are not supported";
        return false;
      }
      layout.tracks.push_back(track);
      trackOpen = true;
    } else if (command == "INDEX" && trackOpen) {
      int number = -1;
      std::string time;
      line >> number >> time;
      std::uint32_t frames = 0;
      if (number != 1) continue;  // a pre-gap (INDEX 00) stays with the track before
      if (!ParseTime(time, frames)) {
        why = "the cue sheet has a bad time: " + time;
        return false;
      }
      Track& track = layout.tracks.back();
      track.position = frames * track.sectorSize;
      track.sectorCount = 0;
    }
  }
  for (const Track& track : layout.tracks)
    if (track.sectorCount != 0) {
      why = "a track of the cue sheet has no INDEX 01";
      return false;
    }
  if (layout.tracks.empty()) why = "the cue sheet lists no tracks";
  return !layout.tracks.empty();
}

PcdStatus ReadTrackLayout(const std::string& path, TrackLayout& layout, std::string& why) {
  layout = TrackLayout{};
  if (EndsWith(path, ".CUE")) {
    std::string text;
    layout.sheet = path;
    PcdStatus status = ReadSmallFile(path, text, layout.sheetStamp, why);
    if (status != kPcdOk) return status;
    std::size_t slash = path.find_last_of("/\\");
    if (!ParseCueSheet(text, slash == std::string::npos ? "" : path.substr(0, slash + 1), layout, why))
      return kPcdBadSignature;
  } else {
    layout.files.push_back(path);
    layout.tracks.push_back(Track{});
  }
  // Sizes of the files, the sector size of a lone image, and each track's extent.
  std::uint32_t ripLba = 0;
  for (std::size_t f = 0; f < layout.files.size(); ++f) {
    PcdLocalFile* file = nullptr;
    FileStamp stamp;
    if (PcdLocalFileOpen(layout.files[f].c_str(), file) != kPcdOk) {
      why = "cannot open " + layout.files[f];
      return kPcdOpenFailed;
    }
    PcdStatus status = PcdLocalFileInfo(file, stamp.size, stamp.written);
    const std::uint32_t size = stamp.size;
    if (status == kPcdOk && layout.files.size() == 1 && layout.tracks.size() == 1 && path == layout.files[0] &&
        (HasSyncAt(file, 0) || HasSyncAt(file, 16 * kRawSectorSize)))
      layout.tracks[0].sectorSize = kRawSectorSize;
    PcdLocalFileClose(file);
    if (status != kPcdOk) {
      why = "the image file is too large";
      return status;
    }
    layout.fileStamps.push_back(stamp);
    for (std::size_t t = 0; t < layout.tracks.size(); ++t) {
      Track& track = layout.tracks[t];
      if (track.file != static_cast<int>(f)) continue;
      std::uint32_t end = size;
      if (t + 1 < layout.tracks.size() && layout.tracks[t + 1].file == track.file)
        end = layout.tracks[t + 1].position;
      if (track.position > end) {
        why = "a track starts past the end of its file";
        return kPcdBadSignature;
      }
      track.sectorCount = (end - track.position) / track.sectorSize;
      track.ripLba = ripLba + track.position / track.sectorSize;
    }
    std::uint32_t fileSectors = 0;
    for (const Track& track : layout.tracks)
      if (track.file == static_cast<int>(f)) fileSectors = track.position / track.sectorSize + track.sectorCount;
    ripLba += fileSectors;
  }
  layout.SetSessionGaps(true);
  return kPcdOk;
}

}  // namespace pcdimage
