#include "cli/mapfile_report.h"

#include <memory>

#include "cli/photo_inputs.h"
#include "photocd/damage_report.h"
#include "photocd/image_pack.h"
#include "photocd/pcd_layout.h"
#include "photocd/rescue_map.h"

namespace cli {

const char* const kMapfileHelp =
    "GNU ddrescue's mapfile of the disc image or pack: what it does not mark finished counts as unreadable "
    "(found without this beside an image as NAME.map or NAME.mapfile)";

bool useMapfile(const std::vector<std::string>& paths, const std::string& mapfile, std::string& error) {
  if (paths.size() != 1) {
    error = "--mapfile belongs to one disc image or pack, not " + std::to_string(paths.size());
    return false;
  }
  auto map = std::make_shared<PcdRescueMap>();
  if (PcdReadRescueMap(mapfile, *map, error) != kPcdOk) return false;
  PcdUseRescueMap(paths.front(), map);
  return true;
}

namespace {

// The part of a pack a data sector lies in, with T the 16BASE table sector.
int PartOf(std::uint32_t sector, std::uint32_t t) {
  if (sector < pcd::kBase16Offset / pcd::kSectorSize) return -1;
  if (sector < pcd::kBase4Offset / pcd::kSectorSize) return pcd::kLevelBase16;
  if (sector < pcd::kBaseOffset / pcd::kSectorSize) return pcd::kLevelBase4;
  if (sector < pcd::k4BaseRowBaseSector) return pcd::kLevelBase;
  return t == 0 || sector < t ? pcd::kLevel4Base : pcd::kLevel16Base;
}

}  // namespace

std::vector<MappedDamage> mappedDamage(const std::vector<std::string>& packs) {
  std::vector<MappedDamage> found;
  for (const std::string& path : packs) {
    PcdFile* file = nullptr;
    std::vector<std::uint32_t> sectors;
    if (PcdFileOpen(path.c_str(), file) != kPcdOk) continue;
    PcdFileUnreadSectors(file, sectors);
    PcdFileClose(file);
    if (sectors.empty()) continue;
    // The header may be what the map lost: then the 16BASE tables are not known.
    ImagePack* pack = nullptr;
    const std::uint32_t t = PcdOpenImagePack(path.c_str(), pack) == kPcdOk ? pack->tableSector16Base : 0;
    if (pack) PcdCloseImagePack(pack);
    MappedDamage damage{packFileName(path), static_cast<int>(sectors.size()), {}};
    int last = -2;
    for (std::uint32_t sector : sectors) {
      const int part = PartOf(sector, t);
      if (part != last) damage.parts.push_back(part < 0 ? "header" : PcdLevelName(part));
      last = part;
    }
    found.push_back(std::move(damage));
  }
  return found;
}

std::string mappedDamageLine(const MappedDamage& damage) {
  std::string line = damage.pack + ": " + std::to_string(damage.sectors) +
                     (damage.sectors == 1 ? " sector" : " sectors") + " not copied (the ddrescue map), in ";
  for (std::size_t i = 0; i < damage.parts.size(); ++i)
    line += (i == 0 ? "" : i + 1 == damage.parts.size() ? " and " : ", ") + damage.parts[i];
  return line;
}

}  // namespace cli
