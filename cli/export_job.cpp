#include "cli/export_job.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "cli/disc_identity.h"
#include "cli/manifest.h"
#include "cli/pack_info.h"
#include "cli/photo_inputs.h"
#include "cli/photo_workers.h"
#include "cli/provenance.h"
#include "cli/sha256.h"
#include "photocd/image_pack.h"
#include "photocd/properties/photo_properties_text.h"

namespace fs = std::filesystem;

namespace cli {

namespace {

std::string joinLines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += (joined.empty() ? "" : "; ") + line;
  return joined;
}

// A file already at the output: with a manifest, the photo is done when the
// file is the one its line describes and a conflict otherwise; without one it
// is simply left alone.
void checkExisting(const ExportSettings& s, ExportResult& r) {
  if (!s.manifest) {
    r.error = existsMessage(r.output);
    r.exists = true;
    return;
  }
  const nlohmann::ordered_json* line = s.manifest->lineFor(r.output);
  const std::string difference = line ? differenceFromLine(r.output, *line, s.checksum) : "no manifest line names it";
  if (!difference.empty()) {
    r.conflict = true;
    r.error = conflictMessage(r.output, difference);
    return;
  }
  r.present = true;
  const nlohmann::ordered_json level = line->value("level", nlohmann::ordered_json());
  r.level = level.is_string() ? levelFromName(level.get<std::string>()) : -1;
  if (line->contains("repairs") && (*line)["repairs"].is_array())
    for (const nlohmann::ordered_json& repair : (*line)["repairs"])
      if (repair.is_string()) r.repairs.push_back(repair.get<std::string>());
  r.repaired = !r.repairs.empty();
}

void exportOne(const ExportSettings& s, const std::string& identity, int decodeThreads, ExportResult& r) {
  if (s.cancel && *s.cancel) {
    r.error = "cancelled";
    return;
  }
  std::error_code ec;
  if (!s.overwrite && fs::exists(fs::u8path(r.output), ec)) {  // known before the decode
    checkExisting(s, r);
    return;
  }
  DecodeSettings decode = s.decode;
  decode.threads = decodeThreads;
  DecodedPhoto photo;
  if (!decodePhoto(r.input, decode, photo, r.error)) return;
  r.note = photo.note;
  r.repaired = !photo.repairs.empty();
  r.lowerLevel = photo.lowerLevel;
  r.repairs = photo.repairs;
  if (r.lowerLevel && !photo.note.empty()) r.repairs.insert(r.repairs.begin(), photo.note);
  if (r.repaired) r.note += (r.note.empty() ? "repaired: " : "; repaired: ") + joinLines(photo.repairs);
  if (s.strict && (r.repaired || r.lowerLevel)) {
    r.error = "not written (--strict): " + r.note;
    return;
  }
  if (!photo.rotate(s.turn)) {
    r.error = "cannot rotate";
    return;
  }
  r.level = photo.photoCd ? photo.level : -1;
  imagefile::ImageMetadata metadata;
  if (photo.hasInfo) metadata = exportMetadata(photo.info);
  if (photo.photoCd) addProvenance({identity, packFileName(r.input), photo.level}, metadata);
  metadata.dpi = s.tiff.xDpi;  // --dpi, stated in every format that has a place for it
  WriteOptions write = s;
  if (s.manifest) {
    write.beforeRename = [&](const std::string& temporary, std::string& error) {
      nlohmann::ordered_json line;
      if (!manifestLine(r, temporary, line, error)) {
        error = shownPath(r.output) + ": cannot read it back for the manifest: " + error;
        return false;
      }
      return s.manifest->append(line, error);
    };
  }
  const WriteOutcome outcome = writeImageFile(photo.bitmap(), &metadata, write, r.output, r.error);
  r.ok = outcome == WriteOutcome::Written;
  // Another run wrote the file meanwhile: with a manifest, that is a conflict to look at.
  if (outcome == WriteOutcome::Exists && s.manifest) {
    r.conflict = true;
    r.error = conflictMessage(r.output, "another run wrote it meanwhile");
  } else {
    r.exists = outcome == WriteOutcome::Exists;
  }
}

constexpr std::size_t kMaxNameBytes = 255;  // of one file or folder name on common file systems
constexpr std::size_t kNameDigestDigits = 8;

// A name longer than limit bytes, cut at a character's start with "-" and the
// first digits of its SHA-256 appended, so that long names stay apart and
// come out the same on every run.
std::string shortenedName(const std::string& name, std::size_t limit) {
  if (name.size() <= limit) return name;
  std::size_t cut = limit - 1 - kNameDigestDigits;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return name.substr(0, cut) + "-" + sha256Hex(name).substr(0, kNameDigestDigits);
}

// The identity of each input's disc, worked out once per disc; a loose pack
// is a disc of its own.
std::vector<std::string> inputIdentities(const std::vector<std::string>& inputs) {
  std::map<std::string, std::vector<std::string>> discPacks;  // PHOTO_CD folder -> its packs among the inputs
  for (const std::string& input : inputs) discPacks[photoCdFolderOf(input)].push_back(input);
  std::map<std::string, std::string> discs;
  std::vector<std::string> identities;
  for (const std::string& input : inputs) {
    const std::string photoCd = photoCdFolderOf(input);
    if (photoCd.empty()) {
      identities.push_back(discIdentity("", {input}));
      continue;
    }
    if (!discs.count(photoCd)) discs[photoCd] = discIdentity(photoCd, discPacks[photoCd]);
    identities.push_back(discs[photoCd]);
  }
  return identities;
}

}  // namespace

std::string outputPath(const std::string& folder, const std::string& pattern, const NameFields& fields,
                       const std::string& extension) {
  constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);
  std::string name;
  const std::string expanded = expandNamePattern(pattern, fields);
  for (std::size_t at = 0; at <= expanded.size();) {  // each folder's name, then the file's
    std::size_t slash = expanded.find('/', at);
    if (slash == std::string::npos) slash = expanded.size();
    const bool file = slash == expanded.size();
    name += shortenedName(expanded.substr(at, slash - at), file ? kMaxNameBytes - 1 - extension.size() : kMaxNameBytes);
    name += file ? "." + extension : "/";
    at = slash + 1;
  }
  std::replace(name.begin(), name.end(), '/', kSeparator);  // the pattern's subfolders
  if (folder.empty()) return name;
  char last = folder.back();
  return last == '/' || last == '\\' ? folder + name : folder + kSeparator + name;
}

NameFields nameFieldsOf(const std::string& input, std::size_t index, const std::string& pattern,
                        const std::string& identity) {
  NameFields f;
  f.name = fileTitle(input);
  f.photo = photoNumberOf(f.name);
  if (f.photo == 0) f.photo = static_cast<int>(index + 1);
  f.serial = identity;
  if (usesField(pattern, "disc")) f.disc = discTitle(input);
  if (usesField(pattern, "date") || usesField(pattern, "time")) {
    ImagePack* pack = nullptr;
    ImagePackInfo info{};
    if (PcdOpenImagePack(input.c_str(), pack) == kPcdOk) {
      f.hasScanTime = PcdGetImageInfo(pack, info) == kPcdOk && pcdprops::IsRecordedTime(info.scanTime);
      f.scanTime = info.scanTime;
      PcdCloseImagePack(pack);
    }
  }
  return f;
}

bool insideFolder(const std::string& path, const std::string& folder) {
  const fs::path base = fs::u8path(folder.empty() ? "." : folder).lexically_normal();
  const fs::path relative = fs::u8path(path).lexically_normal().lexically_relative(base);
  return !relative.empty() && *relative.begin() != ".." && *relative.begin() != ".";
}

std::vector<ExportResult> exportPhotos(const std::vector<std::string>& inputs, const ExportSettings& settings) {
  std::vector<ExportResult> results(inputs.size());
  std::map<std::string, std::size_t> claimed;  // output path -> first input writing it
  const std::vector<std::string> identities = inputIdentities(inputs);
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    results[i].input = inputs[i];
    results[i].output = outputPath(settings.folder, settings.namePattern,
                                   nameFieldsOf(inputs[i], i, settings.namePattern, identities[i]), settings.format);
    // The names' fields cannot form "..", but every path is checked all the same.
    if (!insideFolder(results[i].output, settings.folder)) {
      results[i].error = shownPath(results[i].output) + " would lie outside the output folder; not written";
      continue;
    }
    auto [at, first] = claimed.emplace(results[i].output, i);
    if (!first) results[i].error = "same output name as " + shownPath(inputs[at->second]) + "; not written";
  }
  if (settings.dryRun) return results;

  forEachPhoto(results.size(), settings.jobs, settings.progressBar, [&](std::size_t i, int decodeThreads) {
    if (results[i].error.empty()) exportOne(settings, identities[i], decodeThreads, results[i]);
  });
  return results;
}

}  // namespace cli
