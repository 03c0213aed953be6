#include "pcd_path.h"

#include <cstring>

PcdPathBuilder& PcdPathBuilder::Add(const char* part) { return Add(part, std::strlen(part)); }

PcdPathBuilder& PcdPathBuilder::Add(const char* part, std::size_t count) {
  if (overflow || length + count >= kPcdMaxPath) {
    overflow = true;
    return *this;
  }
  std::memcpy(text + length, part, count);
  length += count;
  text[length] = '\0';
  return *this;
}

namespace {

// A folder name that a following ".." may cancel: not empty, not "." or "..",
// not a drive such as "D:".
bool IsRemovableName(const char* start, std::size_t count) {
  if (count == 0 || start[count - 1] == ':') return false;
  if (count == 1 && start[0] == '.') return false;
  return !(count == 2 && start[0] == '.' && start[1] == '.');
}

}  // namespace

void PcdNormalisePath(char* path) {
  bool changed = true;
  while (changed) {
    changed = false;
    std::size_t nameStart = 0;
    for (std::size_t i = 0; path[i]; ++i) {
      if (!PcdIsSeparator(path[i])) continue;
      // path[nameStart, i) is a folder name followed by a separator.
      char* next = path + i + 1;
      bool parentStep = next[0] == '.' && next[1] == '.' && (next[2] == '\0' || PcdIsSeparator(next[2]));
      if (parentStep && IsRemovableName(path + nameStart, i - nameStart)) {
        const char* rest = next[2] ? next + 3 : next + 2;
        std::memmove(path + nameStart, rest, std::strlen(rest) + 1);
        changed = true;
        break;
      }
      nameStart = i + 1;
    }
  }
}

void PcdCopyNormalised(const PcdPathBuilder& path, char* out) {
  std::memcpy(out, path.text, path.length + 1);
  PcdNormalisePath(out);
}
