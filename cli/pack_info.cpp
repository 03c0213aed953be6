#include "cli/pack_info.h"

#include <cstdio>
#include <cstring>

#include "cli/photo_inputs.h"
#include "cli/srgb_profile.h"
#include "imagefile/photo_metadata.h"
#include "photocd/disc_info.h"
#include "photocd/image_pack.h"
#include "photocd/properties/photo_properties_text.h"

namespace cli {

namespace {

const char* const kLevelNames[] = {"base/64", "base/16", "base/4", "base", "4base", "16base", "64base"};

using pcdprops::FieldText;
using pcdprops::PhotofinisherText;

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

nlohmann::json describeDisc(const std::string& photoCdFolder) {
  nlohmann::json disc;
  std::string infoPath = findChild(photoCdFolder, "INFO.PCD");
  DiscInfo info{};
  PcdStatus status = infoPath.empty() ? kPcdOpenFailed : PcdReadDiscInfo(infoPath.c_str(), info);
  if (status != kPcdOk) {
    disc["error"] = std::string("INFO.PCD: ") + PcdStatusText(status);
    return disc;
  }
  char version[16];
  std::snprintf(version, sizeof version, "%u.%u", info.versionMajor, info.versionMinor);
  disc["version"] = version;
  disc["serial"] = FieldText(info.serialNumber);
  disc["created"] = formatTime(info.creationTime);
  disc["modified"] = formatTime(info.secondTime);
  return disc;
}

nlohmann::json describePack(ImagePack* pack) {
  nlohmann::json j;
  std::uint16_t mask = 0;
  int count = 0;
  PcdGetResolutionMask(pack, mask, count);
  nlohmann::json levels = nlohmann::json::array();
  for (int level = 0; level <= 6; ++level)
    if (mask & (1u << level)) levels.push_back(levelName(level));
  j["levels"] = levels;
  j["rotation"] = rotationText(rotationCode(pack));

  ImagePackInfo info{};
  if (PcdGetImageInfo(pack, info) != kPcdOk) return j;
  j["scanned"] = formatTime(info.scanTime);
  j["modified"] = formatTime(info.modificationTime);
  nlohmann::json& medium = j["medium"];
  medium["type"] = pcdprops::MediaTypeText(info.mediaType);
  medium["code"] = info.mediaType;
  medium["description"] = FieldText(info.mediaInfo);
  nlohmann::json& scanner = j["scanner"];
  scanner["vendor"] = FieldText(info.scannerVendor);
  scanner["product"] = FieldText(info.scannerProduct);
  scanner["firmwareVersion"] = FieldText(info.scannerFirmwareVersion);
  scanner["firmwareDate"] = FieldText(info.scannerFirmwareDate);
  scanner["serial"] = FieldText(info.scannerSerial);
  pcdprops::PixelSize pixelSize;
  if (pcdprops::ReadPixelSize(info.scannerPixelSize, &pixelSize))
    scanner["pixelSizeMicrometres"] = pixelSize.micrometres();
  j["workstation"] = FieldText(info.workstationMaker);
  j["photofinisher"] = PhotofinisherText(info);
  j["rights"] = info.rightsStatus == 1 ? nlohmann::json{{"restricted", true}, {"file", FieldText(info.rightsFileName)}}
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
