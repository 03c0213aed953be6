#include "disc_writer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "pcd_layout.h"
#include "bytes.h"

namespace pcdmake {
namespace fs = std::filesystem;

std::string NameStyle::Folder(const std::string& upper) const {
  std::string name = upper;
  if (lowerCase) std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name;
}

std::string NameStyle::File(const std::string& upper) const { return Folder(upper) + (versionSuffix ? ";1" : ""); }

DiscWriter::DiscWriter(const fs::path& root, NameStyle style, bool replace) : style_(style) {
  std::error_code ec;
  fs::create_directories(root, ec);
  if (ec) throw std::runtime_error("cannot create " + root.string() + ": " + ec.message());
  for (const char* existing : {"PHOTO_CD", "photo_cd"}) {
    const fs::path old = root / existing;
    if (!fs::exists(old)) continue;
    if (!replace) throw std::runtime_error(old.string() + " exists already (use --force to replace it)");
    fs::remove_all(old, ec);
    if (ec) throw std::runtime_error("cannot remove " + old.string() + ": " + ec.message());
  }
  photoCd_ = Dir(root, "PHOTO_CD");
}

fs::path DiscWriter::Dir(const fs::path& parent, const std::string& upper) const {
  const fs::path dir = parent / style_.Folder(upper);
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec) throw std::runtime_error("cannot create " + dir.string() + ": " + ec.message());
  return dir;
}

void DiscWriter::Write(const fs::path& dir, const std::string& upper, const std::vector<std::uint8_t>& bytes) const {
  const fs::path path = dir / style_.File(upper);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void DiscWriter::AddPhoto(const std::vector<std::uint8_t>& pack, const std::vector<std::uint8_t>& thumbnailRowPairs,
                          std::uint8_t attribute, const ExtensionFiles* extension) {
  if (attributes_.size() >= pcd::kOverviewMaxPhotos) throw std::runtime_error("too many photos for one disc");
  attributes_.push_back(attribute);
  thumbnails_.insert(thumbnails_.end(), thumbnailRowPairs.begin(), thumbnailRowPairs.end());
  thumbnails_.resize(attributes_.size() * std::size_t{pcd::kOverviewThumbStride});

  char name[16];
  std::snprintf(name, sizeof name, "IMG%04d", PhotoCount());
  Write(Dir(photoCd_, "IMAGES"), std::string(name) + ".PCD", pack);
  if (extension) {
    const fs::path folder = Dir(Dir(photoCd_, "IPE"), name);
    Write(folder, "INFO.IPE", extension->infoIpe);
    const fs::path level = Dir(folder, "64BASE");
    for (const NamedFile& f : extension->level64) Write(level, f.name, f.bytes);
  }
}

void DiscWriter::Finish(const DiscFields& fields, const std::map<std::string, std::string>& rightsTexts) {
  using namespace pcd;
  std::vector<std::uint8_t> info(kSectorSize);
  PutText(info, 0, 8, kDiscSignature);
  info[kDiscVersionMajorOffset] = fields.versionMajor;
  info[kDiscVersionMajorOffset + 1] = fields.versionMinor;
  PutText(info, kDiscSerialOffset, 12, fields.serial);
  PutBe32(info, kDiscCreationTimeOffset, fields.created);
  PutBe32(info, kDiscSecondTimeOffset, fields.stamp);
  PutBe16(info, kDiscWord30Offset, static_cast<std::uint32_t>(PhotoCount()));
  Write(photoCd_, "INFO.PCD", info);

  std::vector<std::uint8_t> overview(kOverviewThumbOffset);
  PutText(overview, 0, 7, kOverviewSignature);
  overview[kOverviewVersionOffset] = fields.versionMajor;
  overview[kOverviewVersionOffset + 1] = fields.versionMinor;
  PutBe16(overview, kOverviewCountOffset, static_cast<std::uint32_t>(PhotoCount()));
  for (int n = 1; n <= PhotoCount(); ++n) overview[kOverviewAttrBase + n] = attributes_[n - 1];
  overview.insert(overview.end(), thumbnails_.begin(), thumbnails_.end());
  Write(photoCd_, "OVERVIEW.PCD", overview);

  if (rightsTexts.empty()) return;
  const fs::path rights = Dir(photoCd_, "RIGHTS");
  for (const auto& [name, text] : rightsTexts) Write(rights, name, std::vector<std::uint8_t>(text.begin(), text.end()));
}

}  // namespace pcdmake
