#include "cli/photo_inputs.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <system_error>

#include "cli/output_names.h"
#include "photocd/disc_folder.h"
#include "photocd/disc_image.h"

namespace fs = std::filesystem;

namespace cli {

namespace {

// Upper case without an ISO 9660 version suffix, for comparing disc names.
std::string discName(std::string name) {
  std::size_t semicolon = name.find(';');
  if (semicolon != std::string::npos) name.erase(semicolon);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

}  // namespace

std::string findChild(const std::string& folder, const std::string& name) { return PcdFindChild(folder, name); }

int photoNumberOf(const std::string& title) {
  std::string n = discName(title);
  if (n.size() != 7 || n.compare(0, 3, "IMG") != 0 ||
      !std::all_of(n.begin() + 3, n.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
    return 0;
  return std::stoi(n.substr(3));
}

std::string photoCdFolderOf(const std::string& packPath) {
  fs::path images = fs::path(packPath).parent_path();
  if (discName(images.filename().string()) != "IMAGES") return {};
  return images.parent_path().string();
}

bool findImagePacks(const std::string& path, DiscInput& disc, std::string& error) {
  std::error_code ec;
  disc = DiscInput{};
  if (fs::is_regular_file(path, ec) && !pcdimage::IsDiscImageName(path)) {
    disc.packs.push_back(path);
    return true;
  }
  // A disc's root, its PHOTO_CD folder, a folder of loose packs or a disc
  // image: the rule the program opens folders by.
  PcdFolderPhotos photos;
  if (PcdFindFolderPhotos(path, photos) != kPcdOk) {
    std::string why;
    std::unique_ptr<pcdimage::DiscImage> image;
    if (fs::is_regular_file(path, ec) && pcdimage::DiscImage::Open(path, image, why) != kPcdOk)
      error = why;
    else
      error = fs::exists(path, ec) ? "cannot be read" : "no such file or folder";
    return false;
  }
  disc.photoCdFolder = photos.photoCd;
  disc.overview = photos.overview;
  disc.packs = photos.packs;
  if (disc.packs.empty()) error = "no Photo CD photos in " + shownPath(photos.photoCd.empty() ? path : photos.photoCd);
  return !disc.packs.empty();
}

}  // namespace cli
