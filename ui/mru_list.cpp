#include "ui/mru_list.h"

#include <algorithm>
#include <cctype>

namespace {

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::vector<unsigned char> EncodeMruList(const MruList& entries) {
  std::vector<unsigned char> value;
  for (const std::string& entry : entries) {
    value.insert(value.end(), entry.begin(), entry.end());
    value.push_back(0);
  }
  value.push_back(0);
  return value;
}

MruList DecodeMruList(const std::vector<unsigned char>& value) {
  MruList entries;
  std::size_t at = 0;
  while (at < value.size() && value[at] != 0) {
    auto end = std::find(value.begin() + at, value.end(), 0);
    entries.emplace_back(value.begin() + at, end);
    at = static_cast<std::size_t>(end - value.begin()) + 1;
  }
  return entries;
}

void PromoteMruEntry(MruList& entries, const std::string& text) {
  auto same = std::find_if(entries.begin(), entries.end(),
                           [&](const std::string& entry) { return EqualIgnoringCase(entry, text); });
  if (same != entries.end()) entries.erase(same);
  entries.insert(entries.begin(), text);
}

void TrimMruList(MruList& entries, std::size_t maxEntries, std::size_t maxBytes) {
  if (maxEntries != 0 && entries.size() > maxEntries) entries.resize(maxEntries);
  if (maxBytes == 0) return;
  std::size_t used = 1;  // the final zero
  std::size_t kept = 0;
  while (kept < entries.size() && used + entries[kept].size() + 1 <= maxBytes) {
    used += entries[kept].size() + 1;
    ++kept;
  }
  entries.resize(kept);
}
