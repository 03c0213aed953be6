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
  int listed = 0;                   // photos INFO.PCD or the overview say the disc holds; 0 when neither says
  std::vector<std::string> missing; // packs the disc lists that are not there (paths they would have)
};

// "missing; the disc lists 6 photos": the one text for a listed pack that is not there.
std::string missingText(int listed);

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
// Why a path that is neither a regular file nor a folder cannot be read, in
// the same words for every command: "no such file or folder", "a device, not
// a file or folder", "too many levels of symbolic links".
std::string whyNotAFileOrFolder(const std::string& path);
// The disc's name for a pack: its disc image's file title (trip of trip.cue),
// the name of the folder holding PHOTO_CD, or for a loose pack its folder's name.
std::string discTitle(const std::string& packPath);
// A pack's file name as the disc lists it: upper case, no ";1" (IMG0001.PCD).
std::string packFileName(const std::string& packPath);

}  // namespace cli
