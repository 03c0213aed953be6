// --mapfile: the ddrescue map of a disc image or pack copied from a damaged
// disc, and which photos and parts of them the map's bad areas touch. A map
// beside a disc image (disc.iso with disc.map or disc.mapfile) is read
// without being named.
#pragma once
#include <string>
#include <vector>

namespace cli {

extern const char* const kMapfileHelp;

// Makes the file layer read the one path through the mapfile; false with a
// message when there is more than one path or the mapfile cannot be used.
bool useMapfile(const std::vector<std::string>& paths, const std::string& mapfile, std::string& error);

// The sectors of a pack that its map does not mark finished, and the parts
// of the pack they lie in ("header", "BASE/16" ... "16BASE").
struct MappedDamage {
  std::string pack;
  int sectors = 0;
  std::vector<std::string> parts;
};
// One entry per pack with such sectors, in the order given.
std::vector<MappedDamage> mappedDamage(const std::vector<std::string>& packs);
// "IMG0001.PCD: 3 sectors not copied (the ddrescue map), in BASE and 16BASE".
std::string mappedDamageLine(const MappedDamage& damage);

}  // namespace cli
