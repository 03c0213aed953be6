// What the disc and its image packs record about themselves, as JSON for
// `info` and as file metadata for `export`.
#pragma once
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "imagefile/image_metadata.h"
#include "photocd/image_info.h"

struct ImagePack;

namespace cli {

// "base/64" .. "64base" for levels 0 to 6.
const char* levelName(int level);
// The level of a name ("max" is 6); -1 for an unknown name.
int levelFromName(const std::string& name);

// "YYYY-MM-DD HH:MM:SS" (or with colons in the date, as TIFF writes it) of
// seconds since 1970-01-01 00:00.
std::string formatTime(std::uint32_t seconds, bool tiffStyle = false);

// Disc fields from PHOTO_CD/INFO.PCD; a "error" member when it cannot be read.
nlohmann::json describeDisc(const std::string& photoCdFolder);
// A contact sheet's title: "PHOTO CD LVX960514001 1996-05-14", the disc's
// serial number and creation date from PHOTO_CD/INFO.PCD, as far as known.
std::string contactSheetTitle(const std::string& photoCdFolder);
// The serial number in PHOTO_CD/INFO.PCD; empty when it cannot be read.
std::string discSerial(const std::string& photoCdFolder);
// Why a level the pack lists cannot be read, empty when it can: extension
// files that do not fit, or pack data cut short (its last rows are decoded).
std::string levelProblem(ImagePack* pack, int level);
// Levels (those that cannot be read apart, with the reason), rotation and the image information record of an open pack.
nlohmann::json describePack(ImagePack* pack);
// The metadata an exported file carries: scan time, scanner, medium,
// photofinisher, rights, and sRGB tagging with the embedded profile.
imagefile::ImageMetadata exportMetadata(const ImagePackInfo& info);

}  // namespace cli
