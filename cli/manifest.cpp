#include "cli/manifest.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cli/output_names.h"
#include "cli/pack_info.h"
#include "cli/sha256.h"
#include "photocd/pcd_local_file.h"

namespace fs = std::filesystem;

namespace cli {

bool manifestLine(const ExportResult& r, nlohmann::ordered_json& line, std::string& error) {
  std::string digest;
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(fs::u8path(r.output), ec);
  if (ec || !sha256OfFile(r.output, digest, error)) {
    if (ec) error = ec.message();
    return false;
  }
  line = {{"source", shownPath(r.input)},
          {"output", shownPath(r.output)},
          {"level", r.level >= 0 ? nlohmann::ordered_json(levelName(r.level)) : nlohmann::ordered_json()},
          {"size", size},
          {"sha256", digest},
          {"repairs", r.repairs}};
  return true;
}

bool appendManifest(const std::string& file, const std::vector<ExportResult>& results,
                    std::vector<std::string>& problems, std::string& error) {
  std::string lines;
  for (const ExportResult& r : results) {
    if (!r.ok) continue;
    nlohmann::ordered_json line;
    std::string why;
    if (manifestLine(r, line, why)) lines += line.dump() + "\n";
    else problems.push_back(shownPath(r.output) + ": cannot read it back for the manifest: " + why);
  }
  // One write of whole lines, so that lines of runs appending at once stay whole.
  std::FILE* out = PcdLocalOpenStream(file.c_str(), "ab");
  if (!out) {
    error = "cannot open the manifest " + shownPath(file) + ": " + std::strerror(errno);
    return false;
  }
  const bool written = std::fwrite(lines.data(), 1, lines.size(), out) == lines.size();
  const int number = errno;
  if (std::fclose(out) != 0 || !written) {
    error = "cannot write the manifest " + shownPath(file) + ": " + std::strerror(written ? errno : number);
    return false;
  }
  return true;
}

}  // namespace cli
