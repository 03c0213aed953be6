// The file name of a photo's image pack inside the images folder.
#pragma once
#include <cstddef>

#include "pcd_status.h"

// Room for "img65535.pcd" and its terminator.
constexpr std::size_t kPcdImageFileNameSize = 13;

// Writes "img%4.4d.pcd" of a photo number (1 to 65535) into a buffer of at
// least kPcdImageFileNameSize characters; 3001 otherwise.
PcdStatus PcdFormatImageFileName(int photoNumber, char* buffer, std::size_t bufferSize);
