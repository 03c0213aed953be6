// What a folder of Photo CD files holds, by the one rule the program and the
// converter share. People keep discs copied to a hard disk (a folder holding
// PHOTO_CD, or the PHOTO_CD folder itself, sometimes without OVERVIEW.PCD or
// INFO.PCD) and loose image packs, often renamed and mixed with other files.
#pragma once
#include <string>
#include <vector>

#include "pcd_status.h"

struct PcdFolderPhotos {
  std::string photoCd;             // the PHOTO_CD folder; empty for loose image packs
  std::string info;                // its INFO.PCD; empty when it has none
  std::string overview;            // its OVERVIEW.PCD; empty when it has none
  std::vector<std::string> packs;  // the image packs, in the order of their names
};

// A folder that holds PHOTO_CD, or holds OVERVIEW.PCD or an IMAGES folder, is
// read as a disc: its packs are the IMGnnnn.PCD files of IMAGES. Any other
// folder holds loose packs: every file in it (not in its subfolders) whose
// content is an image pack, whatever its name. Names match whatever their
// case and ISO 9660 ";1" suffix. The folder may be local, inside a disc image,
// or an image file (its root). 3010 when the folder cannot be read; a folder
// without photos is no failure.
PcdStatus PcdFindFolderPhotos(const std::string& folder, PcdFolderPhotos& photos);

// True when the file starts like an image pack (the "PCD_IPI" block of sector 1).
bool PcdIsImagePack(const std::string& path);

// The order a person expects of names: runs of digits compare as numbers
// ("wedding-2" before "wedding-10"), letters whatever their case.
bool PcdNameLess(const std::string& a, const std::string& b);

// folder's child named name ignoring case and a ";1" suffix, joined to folder;
// empty when there is none.
std::string PcdFindChild(const std::string& folder, const std::string& name);

// Upper case without an ISO 9660 version suffix, for comparing disc names.
std::string PcdDiscName(std::string name);
