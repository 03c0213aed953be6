#include "cli/pack_info.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cli/photo_inputs.h"
#include "cli/srgb_profile.h"
#include "imagefile/photo_metadata.h"
#include "photocd/damage_report.h"
#include "photocd/disc_info.h"
#include "photocd/image_decode.h"
#include "photocd/image_pack.h"
#include "photocd/pcd_layout.h"
#include "photocd/properties/photo_properties_text.h"

namespace cli {

namespace {

const char* const kLevelNames[] = {"base/64", "base/16", "base/4", "base", "4base", "16base", "64base"};

int rotationCode(const ImagePack* pack) {
  for (unsigned code = 0; code < 4; ++code)
    if (PcdOrientationFromRotation(code) == pack->storedOrientation) return static_cast<int>(code);
  return 0;
}

// The turn a viewer gives the stored picture to show it upright.
const char* rotationText(int code) {
  static const char* const kTurns[] = {"none", "90 counter-clockwise", "180", "90 clockwise"};
  return kTurns[code & 3];
}

}  // namespace

const char* levelName(int level) { return level >= 0 && level <= 6 ? kLevelNames[level] : "?"; }

int levelFromName(const std::string& name) {
  if (name == "max") return 6;
  for (int level = 0; level <= 6; ++level)
    if (name == kLevelNames[level]) return level;
  return -1;
}

std::string formatTime(std::uint32_t seconds, bool tiffStyle) { return pcdprops::FormatDiscTime(seconds, tiffStyle); }

namespace {

// A recorded time as text; "undated" for the zero (or all-ones) a disc writes
// when it records none, which would otherwise read as 1 January 1970.
std::string recordedTime(std::uint32_t seconds) {
  return pcdprops::IsRecordedTime(seconds) ? formatTime(seconds) : "undated";
}

}  // namespace

nlohmann::json describeDisc(const std::string& photoCdFolder) {
  nlohmann::json disc;
  std::string infoPath = findChild(photoCdFolder, "INFO.PCD");
  DiscInfo info{};
  PcdStatus status = infoPath.empty() ? PcdStatus{kPcdOpenFailed} : PcdReadDiscInfo(infoPath.c_str(), info);
  if (status != kPcdOk) {
    disc["error"] = std::string("INFO.PCD: ") + PcdStatusText(status);
    return disc;
  }
  char version[16];
  std::snprintf(version, sizeof version, "%u.%u", info.versionMajor, info.versionMinor);
  disc["version"] = version;
  disc["serial"] = pcdprops::FieldTextUtf8(info.serialNumber);
  disc["created"] = recordedTime(info.creationTime);
  disc["modified"] = recordedTime(info.secondTime);
  return disc;
}

std::string contactSheetTitle(const std::string& photoCdFolder) {
  std::string infoPath = photoCdFolder.empty() ? std::string() : findChild(photoCdFolder, "INFO.PCD");
  DiscInfo info{};
  if (infoPath.empty() || PcdReadDiscInfo(infoPath.c_str(), info) != kPcdOk) return "PHOTO CD";
  std::string title = "PHOTO CD " + pcdprops::FieldTextUtf8(info.serialNumber);
  if (pcdprops::IsRecordedTime(info.creationTime)) title += " " + formatTime(info.creationTime).substr(0, 10);
  return title;
}

std::string discSerial(const std::string& photoCdFolder) {
  std::string infoPath = photoCdFolder.empty() ? std::string() : findChild(photoCdFolder, "INFO.PCD");
  DiscInfo info{};
  if (infoPath.empty() || PcdReadDiscInfo(infoPath.c_str(), info) != kPcdOk) return {};
  return pcdprops::FieldTextUtf8(info.serialNumber);
}

// Why a level the pack lists cannot be read, empty when it can: extension
// files that do not fit, or pack data cut short (a copy that stopped early),
// which shows when the level's last stored rows are decoded.
std::string levelProblem(ImagePack* pack, int level) {
  PcdStatus status = PcdCheckLevel(pack, level);
  if (status != kPcdOk) return PcdStatusText(status);
  const Orientation shown = pack->orientation;
  pack->orientation = PcdOrientationFromRotation(0);  // output rows are stored rows
  status = PcdSetResolution(pack, level);
  std::vector<std::uint8_t> rows;
  if (status == kPcdOk && PcdSetFormat(pack, static_cast<int>(OutputFormat::LumaOnly)) == kPcdOk) {
    const std::int16_t width = static_cast<std::int16_t>(pack->outputWidth);
    const std::int16_t height = static_cast<std::int16_t>(pack->outputHeight);
    const std::int16_t last = static_cast<std::int16_t>(std::min<int>(height, 16));
    OutputRect rect{static_cast<std::int16_t>(height - last), 0, height, width};
    rows.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(last));
    status = PcdReadRect(pack, &rect, rows.data(), width);
  }
  pack->orientation = shown;
  PcdSetResolution(pack, pcd::kLevelBase);
  // A level whose residuals cannot be decoded at all decodes as the one below.
  PcdDamageReport damage;
  if (status == kPcdOk && PcdGetDamage(pack, damage) == kPcdOk && damage.levels[level].unreadable)
    status = damage.levels[level].unreadable;
  return status == kPcdOk ? std::string() : PcdStatusText(status);
}

nlohmann::json describePack(ImagePack* pack) {
  nlohmann::json j;
  std::uint16_t mask = 0;
  int count = 0;
  PcdGetResolutionMask(pack, mask, count);
  nlohmann::json levels = nlohmann::json::array(), unreadable = nlohmann::json::object();
  for (int level = 0; level <= 6; ++level) {
    if (!(mask & (1u << level))) continue;
    std::string problem = levelProblem(pack, level);
    if (problem.empty()) levels.push_back(levelName(level));
    else unreadable[levelName(level)] = problem;
  }
  j["levels"] = levels;
  if (!unreadable.empty()) j["unreadableLevels"] = unreadable;
  j["rotation"] = rotationText(rotationCode(pack));

  ImagePackInfo info{};
  if (PcdGetImageInfo(pack, info) != kPcdOk) return j;
  j["scanned"] = recordedTime(info.scanTime);
  j["modified"] = recordedTime(info.modificationTime);
  nlohmann::json& medium = j["medium"];
  medium["type"] = pcdprops::MediaTypeText(info.mediaType);
  medium["code"] = info.mediaType;
  medium["description"] = pcdprops::FieldTextUtf8(info.mediaInfo);
  nlohmann::json& scanner = j["scanner"];
  scanner["vendor"] = pcdprops::FieldTextUtf8(info.scannerVendor);
  scanner["product"] = pcdprops::FieldTextUtf8(info.scannerProduct);
  scanner["firmwareVersion"] = pcdprops::FieldTextUtf8(info.scannerFirmwareVersion);
  scanner["firmwareDate"] = pcdprops::FieldTextUtf8(info.scannerFirmwareDate);
  scanner["serial"] = pcdprops::FieldTextUtf8(info.scannerSerial);
  pcdprops::PixelSize pixelSize;
  if (pcdprops::ReadPixelSize(info.scannerPixelSize, &pixelSize))
    scanner["pixelSizeMicrometres"] = pixelSize.micrometres();
  j["workstation"] = pcdprops::FieldTextUtf8(info.workstationMaker);
  j["photofinisher"] = pcdprops::Latin1ToUtf8(pcdprops::PhotofinisherText(info));
  j["rights"] = info.rightsStatus == 1 ? nlohmann::json{{"restricted", true}, {"file", pcdprops::FieldTextUtf8(info.rightsFileName)}}
                                       : nlohmann::json{{"restricted", false}};
  return j;
}

imagefile::ImageMetadata exportMetadata(const ImagePackInfo& info) {
  imagefile::ImageMetadata m = imagefile::PhotoMetadata(info);
  m.srgb = true;
  m.iccProfile = srgbProfile();
  return m;
}

}  // namespace cli
