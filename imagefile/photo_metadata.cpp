#include "imagefile/photo_metadata.h"

#include "photocd/image_pack.h"
#include "photocd/properties/photo_properties_text.h"

namespace imagefile {

namespace {
constexpr int kNoMediumRecorded = -1;
}

ImageMetadata PhotoMetadata(const ImagePackInfo& info) {
  ImageMetadata m;
  if (pcdprops::IsRecordedTime(info.scanTime)) m.dateTime = pcdprops::FormatDiscTime(info.scanTime, true);
  m.make = pcdprops::FieldTextUtf8(info.scannerVendor);
  m.model = pcdprops::FieldTextUtf8(info.scannerProduct);
  // "Photo CD image; medium: Color negative, 35mm colour negative; photofinisher: ..."
  std::string medium = info.mediaType == kNoMediumRecorded ? "" : pcdprops::MediaTypeText(info.mediaType);
  std::string mediumText = pcdprops::FieldTextUtf8(info.mediaInfo), finisher = pcdprops::Latin1ToUtf8(pcdprops::PhotofinisherText(info));
  if (!mediumText.empty()) medium += (medium.empty() ? "" : ", ") + mediumText;
  m.description = "Photo CD image";
  if (!medium.empty()) m.description += "; medium: " + medium;
  if (!finisher.empty()) m.description += "; photofinisher: " + finisher;
  if (info.rightsStatus == 1)
    m.copyright = "Use restricted: see " + pcdprops::FieldTextUtf8(info.rightsFileName) + " on the Photo CD";
  m.software = "Lumivexa SE";
  return m;
}

bool ReadPhotoMetadata(const std::string& packPath, ImageMetadata& metadata) {
  ImagePack* pack = nullptr;
  if (PcdOpenImagePack(packPath.c_str(), pack) != kPcdOk) return false;
  ImagePackInfo info{};
  bool ok = PcdGetImageInfo(pack, info) == kPcdOk;
  PcdCloseImagePack(pack);
  if (ok) metadata = PhotoMetadata(info);
  return ok;
}

}  // namespace imagefile
