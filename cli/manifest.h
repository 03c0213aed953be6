// The manifest of an export: one JSON line per photo written (source, output,
// level, size in bytes, SHA-256 and the repairs the decoder made), appended to
// the file so that later runs and other jobs add to it.
#pragma once
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/export_job.h"

namespace cli {

// The line of one written photo, its digest read back from the file written;
// false with the reason when that file cannot be read.
bool manifestLine(const ExportResult& result, nlohmann::ordered_json& line, std::string& error);
// Appends the lines of the written photos to file; false with a message when
// the manifest cannot be written (a photo whose file cannot be read back gets
// a message in problems and no line).
bool appendManifest(const std::string& file, const std::vector<ExportResult>& results,
                    std::vector<std::string>& problems, std::string& error);

}  // namespace cli
