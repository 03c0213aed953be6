// A manifest: one JSON line per photo written (source, output, level, size in
// bytes, modification time, SHA-256 and the repairs the decoder made). Each
// line is appended and synced just before its file is renamed into place, so
// a stop at any moment leaves no file without its line; a line whose file never
// landed is written again by the next run, and the last line for an output wins.
#pragma once
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/export_job.h"

namespace cli {

class Manifest {
 public:
  // Reads the lines already there (a missing file has none; lines cut short
  // by a crash are passed over); false with the reason when it cannot be read.
  bool open(const std::string& file, std::string& error);
  // The last line naming output; nullptr when none does.
  const nlohmann::ordered_json* lineFor(const std::string& output) const;
  // Appends the line and syncs the file; safe from several threads.
  bool append(const nlohmann::ordered_json& line, std::string& error);

 private:
  std::string file_;
  std::map<std::string, nlohmann::ordered_json> lines_;  // by output as shown
  bool needsNewline_ = false;  // the file ends in a line cut short
  std::mutex lock_;
};

// The lines of a manifest file in order, lines that are not JSON objects left out.
std::vector<nlohmann::ordered_json> readManifestLines(const std::string& file);

// The line of a photo whose file written (its temporary name) becomes result.output.
bool manifestLine(const ExportResult& result, const std::string& written, nlohmann::ordered_json& line,
                  std::string& error);
// Empty when the file at output is the one its line describes (size and
// modification time, and with checksum its SHA-256), else what differs.
std::string differenceFromLine(const std::string& output, const nlohmann::ordered_json& line, bool checksum);

}  // namespace cli
