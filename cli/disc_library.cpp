#include "cli/disc_library.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "cli/durable_file.h"
#include "cli/export_job.h"
#include "cli/manifest.h"
#include "cli/output_names.h"
#include "cli/sha256.h"
#include "photocd/pcd_local_file.h"

namespace fs = std::filesystem;

namespace cli {

namespace {

constexpr std::size_t kKeyTitleBytes = 64;  // of the source's name in its key

fs::path bookkeeping(const std::string& library) { return fs::u8path(library) / ".lumivexa"; }

// Writes text to file whole: a temporary file, synced and renamed over it.
bool replaceFile(const fs::path& file, const std::string& text, std::string& error) {
  const std::string folder = file.parent_path().u8string();
  const std::string temporary = temporaryPathIn(folder);
  std::FILE* out = PcdLocalOpenStream(temporary.c_str(), "wb");
  bool ok = out && std::fwrite(text.data(), 1, text.size(), out) == text.size() && PcdLocalSyncStream(out);
  ok = out && std::fclose(out) == 0 && ok;
  std::string why = ok ? "" : std::strerror(errno);
  std::error_code ec;
  if (ok) fs::rename(fs::u8path(temporary), file, ec);
  if (ec) why = ec.message();
  if (!ok || ec) {
    error = "cannot write " + shownPath(file.u8string()) + ": " + why;
    fs::remove(fs::u8path(temporary), ec);
    return false;
  }
  syncFolder(folder, why);
  return true;
}

}  // namespace

bool finished(const std::string& state) { return state == "done" || state == "repaired" || state == "failed"; }

std::string discKey(const std::string& source) {
  std::error_code ec;
  const fs::path path = fs::absolute(fs::u8path(source), ec).lexically_normal();
  std::string title = fileTitle(path.u8string());
  if (title.empty()) title = "disc";
  for (char& c : title)
    if (std::strchr("<>:\"/\\|?* ", c) || static_cast<unsigned char>(c) < 32) c = '_';
  if (title.size() > kKeyTitleBytes) title.resize(kKeyTitleBytes);
  return title + "-" + sha256Hex(path.u8string()).substr(0, 16);
}

std::string recordPath(const std::string& library, const std::string& key) {
  return (bookkeeping(library) / "discs" / (key + ".json")).u8string();
}

std::string discManifestPath(const std::string& library, const std::string& key) {
  return (bookkeeping(library) / "discs" / (key + ".jsonl")).u8string();
}

bool prepareLibrary(const std::string& library, std::string& error) {
  std::error_code ec;
  for (const char* folder : {"discs", "folders"}) {
    fs::create_directories(bookkeeping(library) / folder, ec);
    if (ec) {
      error = "cannot create " + shownPath((bookkeeping(library) / folder).u8string()) + ": " + ec.message();
      return false;
    }
  }
  return true;
}

bool writeRecord(const std::string& library, const std::string& key, const DiscRecord& r, std::string& error) {
  nlohmann::ordered_json j = {{"source", r.source}, {"identity", r.identity}, {"folder", r.folder},
                              {"state", r.state},   {"counts", r.counts},     {"tool", r.tool},
                              {"options", r.options}};
  if (!r.reason.empty()) j["reason"] = r.reason;
  return replaceFile(fs::u8path(recordPath(library, key)),
                     j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n", error);
}

bool readRecord(const std::string& library, const std::string& key, DiscRecord& r) {
  std::ifstream in(fs::u8path(recordPath(library, key)), std::ios::binary);
  const nlohmann::json j = nlohmann::json::parse(in, nullptr, false);
  if (!j.is_object()) return false;
  r.source = j.value("source", std::string());
  r.identity = j.value("identity", std::string());
  r.folder = j.value("folder", std::string());
  r.state = j.value("state", std::string());
  r.reason = j.value("reason", std::string());
  r.counts = j.value("counts", nlohmann::json::object());
  r.tool = j.value("tool", std::string());
  return true;
}

bool claimFolder(const std::string& library, const std::string& folder, const std::string& key, std::string& error) {
  const fs::path claims = bookkeeping(library) / "folders";
  const fs::path claim = claims / fs::u8path(folder);
  // A hard link fails when its name is taken, so of two discs racing for a folder one wins.
  const std::string temporary = temporaryPathIn(claims.u8string());
  std::error_code ec;
  {
    std::ofstream out(fs::u8path(temporary), std::ios::binary);
    out << key;
    if (!out.flush()) {
      error = "cannot claim the folder " + shownPath(folder) + ": " + std::strerror(errno);
      return false;
    }
  }
  fs::create_hard_link(fs::u8path(temporary), claim, ec);
  std::error_code removed;
  fs::remove(fs::u8path(temporary), removed);
  if (!ec) return true;
  if (ec != std::errc::file_exists) {
    error = "cannot claim the folder " + shownPath(folder) + ": " + ec.message();
    return false;
  }
  std::ifstream in(claim, std::ios::binary);
  std::string holder;
  std::getline(in, holder);
  return holder == key;
}

bool placeDisc(const std::string& library, const std::string& pattern, const std::string& firstPack,
               const std::string& identity, const std::string& key, DiscPlacement& p, std::string& error) {
  p = DiscPlacement{library, pattern, {}, false};
  const std::size_t slash = pattern.find('/');
  if (slash == std::string::npos) return true;
  const std::string first = pattern.substr(0, slash);
  for (const char* perPhoto : {"name", "photo", "date", "time"})
    if (usesField(first, perPhoto)) return true;
  const std::string named = expandNamePattern(first, nameFieldsOf(firstPack, 0, first, identity));
  NameFields disc;
  disc.serial = identity;
  const std::string withIdentity = named + "-" + expandNamePattern("{serial}", disc);
  const std::string candidates[] = {named, withIdentity, withIdentity + "-" + key.substr(key.rfind('-') + 1)};
  for (const std::string& candidate : candidates) {
    if (claimFolder(library, candidate, key, error)) {
      p.claimed = candidate;
      p.folder = (fs::u8path(library) / fs::u8path(candidate)).u8string();
      p.pattern = pattern.substr(slash + 1);
      return true;
    }
    if (!error.empty()) return false;
    p.moved = true;
  }
  error = "every folder this disc could take is another disc's: " + shownPath(candidates[2]);
  return false;
}

bool rebuildLibraryManifest(const std::string& library, std::size_t& count, std::string& error) {
  const fs::path merged = fs::u8path(library) / "manifest.jsonl";
  std::vector<fs::path> sources{merged};
  std::error_code ec;
  std::vector<fs::path> discs;
  for (const fs::directory_entry& entry : fs::directory_iterator(bookkeeping(library) / "discs", ec))
    if (entry.path().extension() == ".jsonl") discs.push_back(entry.path());
  if (ec && ec != std::errc::no_such_file_or_directory) {
    error = "cannot read " + shownPath((bookkeeping(library) / "discs").u8string()) + ": " + ec.message();
    return false;
  }
  std::sort(discs.begin(), discs.end());
  sources.insert(sources.end(), discs.begin(), discs.end());
  std::vector<std::string> order;                // outputs, first seen first
  std::map<std::string, nlohmann::ordered_json> latest;  // output -> its last line
  for (const fs::path& source : sources)
    for (nlohmann::ordered_json& line : readManifestLines(source.u8string())) {
      const std::string output = line["output"];
      if (!latest.count(output)) order.push_back(output);
      latest[output] = std::move(line);
    }
  std::string text;
  count = 0;
  for (const std::string& output : order) {
    if (!fs::exists(fs::u8path(output), ec)) continue;  // a line written just before a stop that lost its file
    text += latest[output].dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    ++count;
  }
  return replaceFile(merged, text, error);
}

}  // namespace cli
