// Turns the paths given on the command line into image packs: a disc's root,
// its PHOTO_CD folder, a mounted CD, a disc image, a folder of loose packs or
// single .pcd files.
#pragma once
#include <string>
#include <vector>

namespace cli {

struct DiscInput {
  std::string photoCdFolder;        // empty for loose image packs
  std::string overview;             // its OVERVIEW.PCD; empty when there is none
  std::vector<std::string> packs;   // in disc order
};

// Finds the packs of one path; false with a message when there are none.
// Every command opens its discs here.
bool findImagePacks(const std::string& path, DiscInput& disc, std::string& error);

// Child of folder whose name matches name ignoring case and an ISO 9660
// ";1" suffix; empty when there is none.
std::string findChild(const std::string& folder, const std::string& name);

// The number of a pack named IMGnnnn (its file title); 0 for other names.
int photoNumberOf(const std::string& title);
// The PHOTO_CD folder of a pack that lies in its IMAGES folder; empty otherwise.
std::string photoCdFolderOf(const std::string& packPath);

}  // namespace cli
