#include "disc_folder.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "pcd_file.h"
#include "pcd_layout.h"

namespace {

using Entries = std::vector<PcdFolderEntry>;

// IMGnnnn.PCD, the name a disc gives each photo's pack.
bool IsDiscPackName(const std::string& name) {
  const std::string n = PcdDiscName(name);
  return n.size() == 11 && n.compare(0, 3, "IMG") == 0 && n.compare(7, 4, ".PCD") == 0 &&
         std::all_of(n.begin() + 3, n.begin() + 7, [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// Joins with the separator the folder already uses, so Windows paths stay
// Windows paths and local paths elsewhere stay readable to the system.
std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  if (last == '\\' || last == '/') return folder + name;
  return folder + (folder.find('\\') != std::string::npos ? '\\' : '/') + name;
}

const PcdFolderEntry* Child(const Entries& entries, const std::string& name, bool folder) {
  const std::string wanted = PcdDiscName(name);
  for (const PcdFolderEntry& entry : entries)
    if (entry.folder == folder && PcdDiscName(entry.name) == wanted) return &entry;
  return nullptr;
}

std::string ChildPath(const std::string& folder, const Entries& entries, const std::string& name, bool isFolder) {
  const PcdFolderEntry* child = Child(entries, name, isFolder);
  return child ? Join(folder, child->name) : std::string();
}

// Sorts paths by their file names.
void SortByName(std::vector<std::string>& paths, std::size_t folderLength) {
  std::sort(paths.begin(), paths.end(), [folderLength](const std::string& a, const std::string& b) {
    return PcdNameLess(a.substr(folderLength), b.substr(folderLength));
  });
}

PcdStatus ReadDisc(const std::string& photoCd, PcdFolderPhotos& photos) {
  Entries entries;
  PcdStatus status = PcdListFolder(photoCd.c_str(), entries);
  if (status != kPcdOk) return status;
  photos.photoCd = photoCd;
  photos.info = ChildPath(photoCd, entries, "INFO.PCD", false);
  photos.overview = ChildPath(photoCd, entries, "OVERVIEW.PCD", false);
  const std::string images = ChildPath(photoCd, entries, "IMAGES", true);
  if (images.empty() || PcdListFolder(images.c_str(), entries) != kPcdOk) return kPcdOk;
  for (const PcdFolderEntry& entry : entries)
    if (!entry.folder && IsDiscPackName(entry.name)) photos.packs.push_back(Join(images, entry.name));
  SortByName(photos.packs, Join(images, "").size());
  return kPcdOk;
}

}  // namespace

bool PcdIsImagePack(const std::string& path) {
  PcdFile* file = nullptr;
  if (PcdFileOpen(path.c_str(), file) != kPcdOk) return false;
  char signature[sizeof pcd::kIpiSignature - 1];
  std::uint32_t got = 0;
  const bool pack = PcdFileSeek(file, pcd::kIpiOffset) == kPcdOk &&
                    PcdFileRead(file, signature, sizeof signature, got) == kPcdOk && got == sizeof signature &&
                    std::memcmp(signature, pcd::kIpiSignature, sizeof signature) == 0;
  PcdFileClose(file);
  return pack;
}

bool PcdNameLess(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  while (i < a.size() && j < b.size()) {
    if (digit(a[i]) && digit(b[j])) {
      // Compare the runs as numbers: leading zeros aside, the longer run is larger.
      std::size_t endA = i, endB = j;
      while (endA < a.size() && digit(a[endA])) ++endA;
      while (endB < b.size() && digit(b[endB])) ++endB;
      std::size_t startA = i, startB = j;
      while (startA + 1 < endA && a[startA] == '0') ++startA;
      while (startB + 1 < endB && b[startB] == '0') ++startB;
      const std::size_t lengthA = endA - startA, lengthB = endB - startB;
      if (lengthA != lengthB) return lengthA < lengthB;
      const int order = a.compare(startA, lengthA, b, startB, lengthB);
      if (order != 0) return order < 0;
      i = endA;
      j = endB;
      continue;
    }
    const int ca = std::tolower(static_cast<unsigned char>(a[i])), cb = std::tolower(static_cast<unsigned char>(b[j]));
    if (ca != cb) return ca < cb;
    ++i;
    ++j;
  }
  if (a.size() - i != b.size() - j) return a.size() - i < b.size() - j;
  return a < b;  // names equal but for case or leading zeros: any fixed order
}

std::string PcdFindChild(const std::string& folder, const std::string& name) {
  Entries entries;
  if (PcdListFolder(folder.c_str(), entries) != kPcdOk) return {};
  const PcdFolderEntry* child = Child(entries, name, false);
  if (!child) child = Child(entries, name, true);
  return child ? Join(folder, child->name) : std::string();
}

PcdStatus PcdFindFolderPhotos(const std::string& folder, PcdFolderPhotos& photos) {
  photos = PcdFolderPhotos{};
  Entries entries;
  PcdStatus status = PcdListFolder(folder.c_str(), entries);
  if (status != kPcdOk) return status;
  if (const PcdFolderEntry* photoCd = Child(entries, "PHOTO_CD", true)) return ReadDisc(Join(folder, photoCd->name), photos);
  if (Child(entries, "OVERVIEW.PCD", false) || Child(entries, "IMAGES", true)) return ReadDisc(folder, photos);
  for (const PcdFolderEntry& entry : entries) {
    const std::string path = Join(folder, entry.name);
    if (!entry.folder && PcdIsImagePack(path)) photos.packs.push_back(path);
  }
  SortByName(photos.packs, Join(folder, "").size());
  return kPcdOk;
}

std::string PcdDiscName(std::string name) {
  std::size_t semicolon = name.find(';');
  if (semicolon != std::string::npos) name.erase(semicolon);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}
