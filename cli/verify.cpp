#include "cli/verify.h"

#include <algorithm>
#include <memory>

#include "cli/output_names.h"
#include "cli/photo_decode.h"
#include "cli/photo_workers.h"
#include "photocd/image_decode.h"
#include "photocd/image_pack.h"
#include "photocd/orientation.h"

namespace cli {

namespace {

constexpr int kBandRows = 64;  // rows decoded at a time; 64BASE whole would take 75 MB

struct PackCloser {
  void operator()(ImagePack* pack) const { PcdCloseImagePack(pack); }
};

// Decodes the pack's current level in bands; the first failure, or 0.
PcdStatus DecodeLevel(ImagePack* pack, std::vector<std::uint8_t>& band) {
  const int width = pack->outputWidth, height = pack->outputHeight;
  band.resize(static_cast<std::size_t>(width) * 3 * kBandRows);
  for (int top = 0; top < height; top += kBandRows) {
    const OutputRect rect{static_cast<std::int16_t>(top), 0, static_cast<std::int16_t>(std::min(height, top + kBandRows)),
                          static_cast<std::int16_t>(width)};
    const PcdStatus status = PcdReadRect(pack, &rect, band.data(), 3 * static_cast<std::ptrdiff_t>(width));
    if (status != kPcdOk) return status;
  }
  return kPcdOk;
}

void verifyOne(VerifyResult& r, int threads) {
  ImagePack* opened = nullptr;
  const PcdStatus status = PcdOpenImagePack(r.input.c_str(), opened);
  if (status != kPcdOk) {
    r.error = whyNotAPack(r.input);  // the words export and info use
    if (r.error.empty()) r.error = std::string("image pack: ") + PcdStatusText(status);
    return;
  }
  std::unique_ptr<ImagePack, PackCloser> pack(opened);
  std::uint16_t mask = 0;
  int count = 0;
  PcdGetResolutionMask(pack.get(), mask, count);
  // Stored rows in order: bands across a turned photo would decode every row for each.
  pack->orientation = PcdOrientationFromRotation(0);
  std::vector<std::uint8_t> band;
  int readable = 0;
  for (int level = 1; level <= 6; ++level) {
    if (!(mask & (1u << level))) continue;
    PcdStatus s = PcdCheckLevel(pack.get(), level);
    if (s == kPcdOk) s = PcdSetResolution(pack.get(), level);
    if (s == kPcdOk) s = PcdSetFormat(pack.get(), static_cast<int>(OutputFormat::RawYcc24));
    if (s == kPcdOk) s = PcdSetDecodeThreads(pack.get(), threads);
    if (s == kPcdOk) s = DecodeLevel(pack.get(), band);
    if (s == kPcdOk) ++readable;
    else r.problems.push_back(std::string(PcdLevelName(level)) + " cannot be read: " + PcdStatusText(s));
  }
  PcdGetDamage(pack.get(), r.damage);
  for (const std::string& line : PcdDamageTexts(r.damage)) r.problems.push_back(line);
  if (!readable) r.error = r.problems.empty() ? "no level can be read" : r.problems.front();
}

nlohmann::json levelJson(const PcdLevelDamage& d) {
  static const char* const kPlanes[] = {"luma", "chroma 1", "chroma 2"};
  nlohmann::json j;
  if (d.rowsLeftOut) {
    j["rowsLeftOut"] = d.rowsLeftOut;
    nlohmann::json rows = nlohmann::json::array();
    for (const PcdDamagedRow& row : d.firstRows)
      rows.push_back({{"plane", kPlanes[row.plane]}, {"row", row.row}, {"cause", PcdStatusText(row.cause)}});
    j["firstRows"] = rows;
  }
  if (d.unreadable) j["unreadable"] = PcdStatusText(d.unreadable);
  if (d.rowTableReplaced) j["rowTableUnreadable"] = true;
  const int zeroed = d.sectorsFilled - d.sectorsUnreadable - d.sectorsPastEnd;
  if (zeroed) j["zeroedSectors"] = zeroed;
  if (d.sectorsUnreadable) j["unreadableSectors"] = d.sectorsUnreadable;
  if (d.sectorsPastEnd) j["sectorsPastEnd"] = d.sectorsPastEnd;
  return j;
}

}  // namespace

std::vector<VerifyResult> verifyPhotos(const std::vector<std::string>& inputs, const VerifySettings& settings) {
  std::vector<VerifyResult> results(inputs.size());
  for (std::size_t i = 0; i < inputs.size(); ++i) results[i].input = inputs[i];
  forEachPhoto(results.size(), settings.jobs, settings.progressBar, [&](std::size_t i, int decodeThreads) {
    if (settings.cancel && *settings.cancel) results[i].error = "cancelled";
    else verifyOne(results[i], decodeThreads);
  });
  return results;
}

std::string verifyLine(const VerifyResult& r) {
  std::string line = shownPath(r.input) + ": ";
  if (!r.error.empty()) return line + "UNREADABLE: " + r.error;
  if (r.problems.empty()) return line + "OK";
  line += "DAMAGED";
  for (std::size_t i = 0; i < r.problems.size(); ++i) line += (i ? "; " : ": ") + r.problems[i];
  return line;
}

std::string verifySummary(const std::vector<VerifyResult>& results) {
  std::size_t whole = 0, unreadable = 0;
  for (const VerifyResult& r : results) {
    if (!r.error.empty()) ++unreadable;
    else if (r.whole()) ++whole;
  }
  return std::to_string(results.size()) + (results.size() == 1 ? " photo: " : " photos: ") + std::to_string(whole) +
         " whole, " + std::to_string(results.size() - whole - unreadable) + " damaged, " + std::to_string(unreadable) +
         " unreadable";
}

nlohmann::json verifyJson(const std::vector<VerifyResult>& results) {
  nlohmann::json photos = nlohmann::json::array();
  std::size_t whole = 0, damaged = 0, unreadable = 0;
  for (const VerifyResult& r : results) {
    nlohmann::json p{{"file", shownPath(r.input)}};
    if (!r.error.empty()) {
      p["status"] = "unreadable";
      p["error"] = r.error;
      ++unreadable;
    } else {
      p["status"] = r.whole() ? "ok" : "damaged";
      ++(r.whole() ? whole : damaged);
    }
    if (!r.problems.empty()) p["problems"] = r.problems;
    nlohmann::json levels = nlohmann::json::object();
    for (int level = 0; level <= 6; ++level)
      if (r.damage.levels[level].Any()) levels[PcdLevelName(level)] = levelJson(r.damage.levels[level]);
    if (!levels.empty()) p["levels"] = levels;
    photos.push_back(p);
  }
  return {{"photos", photos},
          {"summary", {{"photos", results.size()}, {"whole", whole}, {"damaged", damaged}, {"unreadable", unreadable}}}};
}

}  // namespace cli
