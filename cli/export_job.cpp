#include "cli/export_job.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "cli/pack_info.h"
#include "cli/photo_inputs.h"
#include "cli/photo_workers.h"
#include "cli/provenance.h"
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

void exportOne(const ExportSettings& s, const std::string& serial, int decodeThreads, ExportResult& r) {
  if (s.cancel && *s.cancel) {
    r.error = "cancelled";
    return;
  }
  std::error_code ec;
  if (!s.overwrite && fs::exists(fs::u8path(r.output), ec)) {  // known before the decode
    r.error = existsMessage(r.output);
    r.exists = true;
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
  if (photo.photoCd) addProvenance({serial, packFileName(r.input), photo.level}, metadata);
  metadata.dpi = s.tiff.xDpi;  // --dpi, stated in every format that has a place for it
  const WriteOutcome outcome = writeImageFile(photo.bitmap(), &metadata, s, r.output, r.error);
  r.ok = outcome == WriteOutcome::Written;
  r.exists = outcome == WriteOutcome::Exists;
}

}  // namespace

std::string outputPath(const std::string& folder, const std::string& pattern, const NameFields& fields,
                       const std::string& extension) {
  constexpr char kSeparator = static_cast<char>(fs::path::preferred_separator);
  std::string name = expandNamePattern(pattern, fields) + "." + extension;
  std::replace(name.begin(), name.end(), '/', kSeparator);  // the pattern's subfolders
  if (folder.empty()) return name;
  char last = folder.back();
  return last == '/' || last == '\\' ? folder + name : folder + kSeparator + name;
}

NameFields nameFieldsOf(const std::string& input, std::size_t index, const std::string& pattern) {
  NameFields f;
  f.name = fileTitle(input);
  f.photo = photoNumberOf(f.name);
  if (f.photo == 0) f.photo = static_cast<int>(index + 1);
  const std::string photoCd = photoCdFolderOf(input);
  if (usesField(pattern, "serial")) f.serial = discSerial(photoCd);
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
  std::map<std::string, std::string> discSerials;  // PHOTO_CD folder -> its disc's serial number
  std::vector<std::string> serials(inputs.size());  // each input's, read before the workers start
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    results[i].input = inputs[i];
    results[i].output = outputPath(settings.folder, settings.namePattern, nameFieldsOf(inputs[i], i, settings.namePattern),
                                   settings.format);
    const std::string photoCd = photoCdFolderOf(inputs[i]);
    if (!discSerials.count(photoCd)) discSerials[photoCd] = discSerial(photoCd);
    serials[i] = discSerials[photoCd];
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
    if (results[i].error.empty()) exportOne(settings, serials[i], decodeThreads, results[i]);
  });
  return results;
}

}  // namespace cli
