// Where an exported photo comes from, written into the file so that a photo a
// photo manager has renamed can still be traced to its disc: the disc's identity
// (its serial number or a digest), the pack's name and the level written.
#pragma once
#include <string>

#include "imagefile/image_metadata.h"

namespace cli {

struct Provenance {
  std::string identity;  // the disc's identity (disc_identity.h)
  std::string pack;    // the pack's file name, IMG0001.PCD
  int level = 0;       // the level written
};

// Fills the metadata's source line, document and instance ids and the EXIF
// unique id (a hash of the instance id, so the same photo at the same level
// always gets the same id).
void addProvenance(const Provenance& provenance, imagefile::ImageMetadata& metadata);

}  // namespace cli
