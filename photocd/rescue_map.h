// What a copy of a damaged disc did not get: the mapfile GNU ddrescue keeps
// beside its copy lists every area of the source with its state, and only
// areas marked finished ("+") hold what the disc holds; ddrescue leaves zeros
// in the rest. The file layer reads a file with a map through it: a read that
// touches an area not finished fails, as the drive's read failed.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pcd_status.h"

struct PcdRescueMap {
  // Byte areas [begin, end) of the copy that are not finished, in order.
  std::vector<std::pair<std::uint64_t, std::uint64_t>> unread;
  // How far the map reaches: everything past it is unread too.
  std::uint64_t end = 0;

  // True when every byte of [begin, end) was copied.
  bool Readable(std::uint64_t begin, std::uint64_t end) const;
};

// The map in a mapfile's text; false with why ("line 9: ...") when the text
// is not a mapfile.
bool PcdParseRescueMap(const std::string& text, PcdRescueMap& map, std::string& why);

// Reads and parses a mapfile; 3010 when it cannot be read, 3000 when it is no
// mapfile, with why naming the file and the fault.
PcdStatus PcdReadRescueMap(const std::string& path, PcdRescueMap& map, std::string& why);

// From now on, the local file at path (as it is given to the file layer)
// reads through map; a null map takes it back.
void PcdUseRescueMap(const std::string& path, std::shared_ptr<const PcdRescueMap> map);

// The map a local file reads through: the one given for it with
// PcdUseRescueMap, else for a disc image the mapfile beside it (disc.iso with
// disc.map or disc.mapfile); null when it has none. 3000 or 3010 with why
// when the mapfile beside it cannot be used.
PcdStatus PcdRescueMapOf(const std::string& path, bool discImage, std::shared_ptr<const PcdRescueMap>& map,
                         std::string& why);
