#include "cli/photo_inputs.h"

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

#include "cli/output_names.h"
#include "photocd/disc_folder.h"
#include "photocd/disc_image.h"
#include "photocd/disc_info.h"
#include "photocd/overview_pack.h"

namespace fs = std::filesystem;

namespace cli {

std::string findChild(const std::string& folder, const std::string& name) { return PcdFindChild(folder, name); }

int photoNumberOf(const std::string& title) {
  std::string n = PcdDiscName(title);
  if (n.size() != 7 || n.compare(0, 3, "IMG") != 0 ||
      !std::all_of(n.begin() + 3, n.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
    return 0;
  return std::stoi(n.substr(3));
}

std::string photoCdFolderOf(const std::string& packPath) {
  fs::path images = fs::u8path(packPath).parent_path();
  if (PcdDiscName(images.filename().u8string()) != "IMAGES") return {};
  return images.parent_path().u8string();
}

std::string whyNotAFileOrFolder(const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(fs::u8path(path), ec);
  if (status.type() == fs::file_type::not_found) return "no such file or folder";
  if (ec) {  // a loop of symbolic links, a folder on the way that cannot be read, ...
    std::string text = ec.message();
    if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
  }
  switch (status.type()) {
    case fs::file_type::character:
    case fs::file_type::block: return "a device, not a file or folder";
    case fs::file_type::fifo: return "a pipe, not a file or folder";
    case fs::file_type::socket: return "a socket, not a file or folder";
    default: return "neither a file nor a folder";
  }
}

std::string discTitle(const std::string& packPath) {
  std::error_code ec;
  const std::string photoCd = photoCdFolderOf(packPath);
  fs::path holder = fs::absolute(fs::u8path(photoCd.empty() ? packPath : photoCd), ec).lexically_normal();
  holder = holder.parent_path();
  if (holder.has_parent_path() && holder.filename().empty()) holder = holder.parent_path();  // a trailing separator
  return pcdimage::IsDiscImageName(holder.u8string()) ? holder.stem().u8string() : holder.filename().u8string();
}

std::string packFileName(const std::string& packPath) { return PcdDiscName(fs::u8path(packPath).filename().u8string()); }

namespace {

// The larger of the photo counts INFO.PCD and the overview record: a disc that
// lost a pack or a directory entry still says how many it holds.
int listedPhotos(const std::string& photoCd, const std::string& overviewPath) {
  int listed = 0;
  DiscInfo info{};
  const std::string infoPath = findChild(photoCd, "INFO.PCD");
  if (!infoPath.empty() && PcdReadDiscInfo(infoPath.c_str(), info) == kPcdOk) listed = info.word32;
  OverviewPack* overview = nullptr;
  if (!overviewPath.empty() && PcdOpenOverview(overviewPath.c_str(), overview) == kPcdOk) {
    std::uint16_t count = 0;
    if (PcdGetPhotoCount(overview, count) == kPcdOk) listed = std::max<int>(listed, count);
    PcdCloseOverview(overview);
  }
  return std::min<int>(listed, pcd::kOverviewMaxPhotos);
}

// Names the packs the disc lists that are not among those found.
void listMissingPacks(DiscInput& disc) {
  if (disc.photoCdFolder.empty()) return;
  disc.listed = listedPhotos(disc.photoCdFolder, disc.overview);
  std::vector<bool> present(static_cast<std::size_t>(disc.listed) + 1);
  for (const std::string& pack : disc.packs) {
    const int number = photoNumberOf(fileTitle(pack));
    if (number >= 1 && number <= disc.listed) present[static_cast<std::size_t>(number)] = true;
  }
  char name[24];
  for (int n = 1; n <= disc.listed; ++n) {
    if (present[static_cast<std::size_t>(n)]) continue;
    std::snprintf(name, sizeof name, "IMG%04d.PCD", n);
    disc.missing.push_back((fs::u8path(disc.photoCdFolder) / "IMAGES" / name).u8string());
  }
}

// The disc's PHOTO_CD or IMAGES folder when it is a symbolic link below the
// path given, which could lead anywhere (another disc, a loop); empty otherwise.
std::string linkedSubfolder(const std::string& path, const std::string& photoCd) {
  if (photoCd.empty()) return {};
  std::error_code ec;
  const bool below = fs::u8path(photoCd).lexically_normal() != fs::u8path(path).lexically_normal();
  if (below && fs::is_symlink(fs::symlink_status(fs::u8path(photoCd), ec))) return photoCd;
  const std::string images = findChild(photoCd, "IMAGES");
  if (!images.empty() && fs::is_symlink(fs::symlink_status(fs::u8path(images), ec))) return images;
  return {};
}

}  // namespace

std::string missingText(int listed) {
  return "missing; the disc lists " + std::to_string(listed) + (listed == 1 ? " photo" : " photos");
}

bool findImagePacks(const std::string& path, DiscInput& disc, std::string& error) {
  std::error_code ec;
  disc = DiscInput{};
  const fs::path file = fs::u8path(path);
  if (fs::is_regular_file(file, ec) && !pcdimage::IsDiscImageName(path)) {
    disc.packs.push_back(path);
    return true;
  }
  // A disc's root, its PHOTO_CD folder, a folder of loose packs or a disc
  // image: the rule the program opens folders by.
  PcdFolderPhotos photos;
  if (PcdFindFolderPhotos(path, photos) != kPcdOk) {
    std::string why;
    std::unique_ptr<pcdimage::DiscImage> image;
    if (fs::is_regular_file(file, ec) && pcdimage::DiscImage::Open(path, image, why) != kPcdOk)
      error = why;
    else
      error = fs::is_directory(file, ec) ? "cannot be read" : whyNotAFileOrFolder(path);
    return false;
  }
  if (const std::string linked = linkedSubfolder(path, photos.photoCd); !linked.empty()) {
    error = shownPath(linked) + ": a symbolic link; a disc's subfolders are not followed";
    return false;
  }
  disc.photoCdFolder = photos.photoCd;
  disc.overview = photos.overview;
  disc.packs = photos.packs;
  listMissingPacks(disc);
  if (disc.packs.empty() && disc.missing.empty()) error = "no Photo CD photos in " + shownPath(photos.photoCd.empty() ? path : photos.photoCd);
  return !disc.packs.empty() || !disc.missing.empty();
}

}  // namespace cli
