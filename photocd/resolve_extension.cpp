#include "resolve_extension.h"

#include <cstring>

#include "pcd_file.h"

namespace {

// The names formed from an image path follow the case of its file name, and
// carry the ISO 9660 version suffix when the given path does.
struct NameSet {
  const char* pcd;
  const char* infoIpe;
  const char* images;
  const char* ipe;
};
constexpr NameSet kUpperNames = {"PCD", "INFO.IPE", "IMAGES", "IPE"};
constexpr NameSet kLowerNames = {"pcd", "info.ipe", "images", "ipe"};

struct SplitPath {
  const char* path;
  std::size_t stemLength;    // everything before the extension's dot
  std::size_t folderLength;  // everything before the last separator of the stem
  const char* name;          // file name without extension
  std::size_t nameLength;
  const char* suffix;        // ";1" or ""
  const NameSet* names;
};

bool Split(const char* path, SplitPath& split) {
  std::size_t length = std::strlen(path);
  std::size_t nameStart = 0;
  bool hasSeparator = false;
  for (std::size_t i = 0; i < length; ++i) {
    if (PcdIsSeparator(path[i])) {
      nameStart = i + 1;
      hasSeparator = true;
    }
  }
  const char* dot = std::strrchr(path + nameStart, '.');
  split.path = path;
  split.stemLength = dot ? static_cast<std::size_t>(dot - path) : length;
  split.suffix = dot && std::strstr(dot + 1, ";1") ? ";1" : "";
  if (!hasSeparator) return false;  // no folder: nothing can be found
  split.folderLength = nameStart - 1;
  split.name = path + nameStart;
  split.nameLength = split.stemLength - nameStart;
  bool upper = split.nameLength > 0 && split.name[0] >= 'A' && split.name[0] <= 'Z';
  split.names = upper ? &kUpperNames : &kLowerNames;
  return true;
}

bool HoldsInfoFile(const PcdPathBuilder& folder, const SplitPath& split) {
  PcdPathBuilder info = folder;
  info.Add("\\").Add(split.names->infoIpe).Add(split.suffix);
  return info.ok() && PcdFileExists(info.text);
}

// folder\..\<sibling>\<name><tail>, as written and, failing that, normalised.
bool FindBesideFolder(const SplitPath& split, const char* sibling, const char* tail,
                      bool (*test)(const PcdPathBuilder&, const SplitPath&), PcdPathBuilder& found) {
  PcdPathBuilder candidate;
  candidate.Add(split.path, split.folderLength).Add("\\..\\").Add(sibling).Add("\\");
  candidate.Add(split.name, split.nameLength).Add(tail);
  if (!candidate.ok()) return false;
  if (test(candidate, split)) {
    found = candidate;
    return true;
  }
  PcdPathBuilder normalised = candidate;
  PcdNormalisePath(normalised.text);
  normalised.length = std::strlen(normalised.text);
  if (std::strcmp(normalised.text, candidate.text) == 0 || !test(normalised, split)) return false;
  found = normalised;
  return true;
}

bool FileExists(const PcdPathBuilder& path, const SplitPath&) { return PcdFileExists(path.text); }

}  // namespace

PcdStatus PcdResolveExtension(const char* imagePath, char* imagePackOut, char* extensionDirOut) {
  if (!imagePath || !imagePackOut || !extensionDirOut) return kPcdInvalidArgument;
  imagePackOut[0] = '\0';
  extensionDirOut[0] = '\0';
  if (std::strlen(imagePath) >= kPcdMaxPath) return kPcdInvalidArgument;
  SplitPath split;
  if (!Split(imagePath, split)) return kPcdOk;

  PcdPathBuilder stem;
  stem.Add(imagePath, split.stemLength);
  PcdPathBuilder folder;
  folder.Add(imagePath, split.folderLength);
  PcdPathBuilder pack = stem;
  pack.Add(".").Add(split.names->pcd).Add(split.suffix);
  if (!pack.ok()) return kPcdOk;

  if (PcdFileExists(pack.text)) {
    // The path names an image pack: its extension sits beside it or in IPE\name.
    PcdCopyNormalised(pack, imagePackOut);
    PcdPathBuilder extension;
    if (HoldsInfoFile(folder, split))
      PcdCopyNormalised(folder, extensionDirOut);
    else if (FindBesideFolder(split, split.names->ipe, "", HoldsInfoFile, extension))
      PcdCopyNormalised(extension, extensionDirOut);
    return kPcdOk;
  }

  // The path names an extension folder: the pack sits inside it or in IMAGES.
  if (!HoldsInfoFile(stem, split)) return kPcdOk;
  PcdCopyNormalised(stem, extensionDirOut);
  PcdPathBuilder tail;
  tail.Add(".").Add(split.names->pcd).Add(split.suffix);
  PcdPathBuilder inside = stem;
  inside.Add("\\").Add(split.name, split.nameLength).Add(tail.text);
  PcdPathBuilder beside;
  if (inside.ok() && PcdFileExists(inside.text))
    PcdCopyNormalised(inside, imagePackOut);
  else if (FindBesideFolder(split, split.names->images, tail.text, FileExists, beside))
    PcdCopyNormalised(beside, imagePackOut);
  return kPcdOk;
}
