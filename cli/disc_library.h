// The bookkeeping of a photo library that a shelf of discs is exported into,
// kept in LIBRARY/.lumivexa: for every disc a state record (discs/KEY.json,
// replaced whole) and its own manifest (discs/KEY.jsonl), and the claims on
// the library's folders (folders/NAME), so that two discs never share one.
// LIBRARY/manifest.jsonl is rebuilt from the discs' manifests.
#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace cli {

// A disc's state in the library.
struct DiscRecord {
  std::string source;    // the disc image or folder, absolute
  std::string identity;  // serial number or digest (disc_identity.h)
  std::string folder;    // its folder in the library; empty when the names make none
  std::string state;     // running, done, repaired, failed, interrupted
  std::string reason;    // why it failed
  nlohmann::json counts = nlohmann::json::object();  // photos, written, present, repaired, failed, conflicts
  std::string tool;      // the converter's version
  std::vector<std::string> options;  // the export's command line
};

// States a finished disc can be in; "running" and "interrupted" are unfinished.
bool finished(const std::string& state);

// The key of a source in the library: its name and a digest of its absolute
// path, so that discs with one name in different places differ ("wedding-1a2b3c4d5e6f7a8b").
std::string discKey(const std::string& source);
std::string recordPath(const std::string& library, const std::string& key);
std::string discManifestPath(const std::string& library, const std::string& key);

// Makes the library's bookkeeping folders; false with the reason.
bool prepareLibrary(const std::string& library, std::string& error);
// Writes the record whole (a temporary file renamed over the old one).
bool writeRecord(const std::string& library, const std::string& key, const DiscRecord& record, std::string& error);
// False when there is no readable record.
bool readRecord(const std::string& library, const std::string& key, DiscRecord& record);

// Claims folder for the disc key: true when it was free or is the disc's own
// already; false when another disc holds it (or with a reason in error when
// the claim cannot be made).
bool claimFolder(const std::string& library, const std::string& folder, const std::string& key, std::string& error);

// Where a disc's photos go in the library: when the name pattern's first part
// names a folder by disc-wide fields ({disc}, {serial}, text), that folder is
// claimed for the disc; when another disc holds it, the disc takes the folder
// with "-" and its identity appended, or failing that its key's digest too.
struct DiscPlacement {
  std::string folder;   // the export's output folder
  std::string pattern;  // the names within it
  std::string claimed;  // the library folder claimed; empty when the names make none
  bool moved = false;   // the folder first named was another disc's
};
bool placeDisc(const std::string& library, const std::string& pattern, const std::string& firstPack,
               const std::string& identity, const std::string& key, DiscPlacement& placement, std::string& error);

// Rebuilds LIBRARY/manifest.jsonl from the discs' manifests and its own
// earlier lines: one line per output file that exists, the latest for each.
// The number of lines through lines; false with the reason.
bool rebuildLibraryManifest(const std::string& library, std::size_t& lines, std::string& error);

}  // namespace cli
