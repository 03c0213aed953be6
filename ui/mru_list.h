// Most-recently-used text lists as stored in one binary value: the entries as
// zero-terminated texts, most recent first, then one more zero.
#pragma once
#include <string>
#include <vector>

using MruList = std::vector<std::string>;

std::vector<unsigned char> EncodeMruList(const MruList& entries);
// Entries up to the first empty text; tolerates a missing final zero.
MruList DecodeMruList(const std::vector<unsigned char>& value);

// Puts text at the top, removing an entry equal to it ignoring ASCII case.
void PromoteMruEntry(MruList& entries, const std::string& text);

// Keeps the first maxEntries entries (0 = all), then only as many as fit in
// maxBytes of encoded value (0 = no limit).
void TrimMruList(MruList& entries, std::size_t maxEntries, std::size_t maxBytes);
