#include "image_file_name.h"

#include <cstdio>

PcdStatus PcdFormatImageFileName(int photoNumber, char* buffer, std::size_t bufferSize) {
  if (!buffer || bufferSize < kPcdImageFileNameSize || photoNumber < 1 || photoNumber > 65535)
    return kPcdInvalidArgument;
  int written = std::snprintf(buffer, bufferSize, "img%4.4d.pcd", photoNumber);
  if (written <= 0) {
    buffer[0] = '\0';
    return kPcdBadSignature;  // an empty name
  }
  return kPcdOk;
}
