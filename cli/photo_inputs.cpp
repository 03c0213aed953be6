#include "cli/photo_inputs.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "cli/output_names.h"
#include "photocd/disc_image.h"
#include "photocd/pcd_file.h"

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

bool isImagePackName(const std::string& name) {
  std::string n = discName(name);
  return n.size() == 11 && n.compare(0, 3, "IMG") == 0 && n.compare(7, 4, ".PCD") == 0 &&
         std::all_of(n.begin() + 3, n.begin() + 7, [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

}  // namespace

std::string findChild(const std::string& folder, const std::string& name) {
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec))
    if (discName(entry.path().filename().string()) == discName(name)) return entry.path().string();
  // Inside a disc image the file layer finds names whatever their case and suffix.
  std::string inImage = folder + static_cast<char>(fs::path::preferred_separator) + name;
  return PcdFileExists(inImage.c_str()) ? inImage : std::string();
}

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

std::string whyNotAFileOrFolder(const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
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
  fs::path holder = fs::absolute(photoCd.empty() ? fs::path(packPath) : fs::path(photoCd), ec).lexically_normal();
  holder = holder.parent_path();
  if (holder.has_parent_path() && holder.filename().empty()) holder = holder.parent_path();  // a trailing separator
  return pcdimage::IsDiscImageName(holder.string()) ? holder.stem().string() : holder.filename().string();
}

std::string packFileName(const std::string& packPath) { return discName(fs::path(packPath).filename().string()); }

namespace {

// The packs of a disc image's PHOTO_CD\IMAGES folder.
bool findPacksInImage(const std::string& path, DiscInput& disc, std::string& error) {
  std::unique_ptr<pcdimage::DiscImage> image;
  pcdimage::DirectoryEntry images;
  std::vector<pcdimage::DirectoryEntry> entries;
  if (pcdimage::DiscImage::Open(path, image, error) != kPcdOk || image->Find("PHOTO_CD/IMAGES", images, error) != kPcdOk ||
      image->List(images, entries, error) != kPcdOk)
    return false;
  const char separator = static_cast<char>(fs::path::preferred_separator);
  disc.photoCdFolder = path + separator + "PHOTO_CD";
  disc.overview = findChild(disc.photoCdFolder, "OVERVIEW.PCD");
  for (const pcdimage::DirectoryEntry& entry : entries)
    if (!entry.directory && isImagePackName(entry.name))
      disc.packs.push_back(disc.photoCdFolder + separator + "IMAGES" + separator + discName(entry.name));
  std::sort(disc.packs.begin(), disc.packs.end());
  if (disc.packs.empty()) error = "no image packs in the disc image";
  return !disc.packs.empty();
}

}  // namespace

bool findImagePacks(const std::string& path, DiscInput& disc, std::string& error) {
  std::error_code ec;
  disc = DiscInput{};
  if (pcdimage::IsDiscImageName(path) && fs::is_regular_file(path, ec)) return findPacksInImage(path, disc, error);
  if (fs::is_regular_file(path, ec)) {
    disc.packs.push_back(path);
    return true;
  }
  if (!fs::is_directory(path, ec)) {
    error = whyNotAFileOrFolder(path);
    return false;
  }
  // The path is the disc's root (holding PHOTO_CD) or the PHOTO_CD folder itself.
  std::string folder = findChild(path, "PHOTO_CD");
  if (folder.empty()) folder = path;
  std::string images = findChild(folder, "IMAGES");
  if (images.empty()) {
    error = "no " + shownPath("PHOTO_CD/IMAGES") + " folder";
    return false;
  }
  disc.photoCdFolder = folder;
  disc.overview = findChild(folder, "OVERVIEW.PCD");
  for (const fs::directory_entry& entry : fs::directory_iterator(images, ec))
    if (entry.is_regular_file(ec) && isImagePackName(entry.path().filename().string()))
      disc.packs.push_back(entry.path().string());
  std::sort(disc.packs.begin(), disc.packs.end(), [](const std::string& a, const std::string& b) {
    return discName(fs::path(a).filename().string()) < discName(fs::path(b).filename().string());
  });
  if (disc.packs.empty()) {
    error = "no image packs in " + shownPath(images);
    return false;
  }
  return true;
}

}  // namespace cli
