#include "cli/provenance.h"

#include "cli/pack_info.h"
#include "cli/sha256.h"

namespace cli {

namespace {
constexpr std::size_t kUniqueIdDigits = 32;  // EXIF's ImageUniqueID: 128 bits in hexadecimal
}

void addProvenance(const Provenance& p, imagefile::ImageMetadata& m) {
  const std::string& serial = p.identity;
  const std::string level = levelName(p.level);
  m.source = "Photo CD " + serial + ", " + p.pack + ", " + level;
  // The document is the photo, whatever level; an instance is one level of it.
  m.documentId = "photocd:" + serial + "/" + p.pack;
  m.instanceId = m.documentId + "/" + level;
  m.uniqueId = sha256Hex(m.instanceId).substr(0, kUniqueIdDigits);
}

}  // namespace cli
