// lumivexa-cli: information about Photo CDs, verification of what damaged ones
// still hold, and conversion of their photos
// to TIFF, JPEG, BMP or PNG files, and contact sheets of whole discs.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <thread>

#include "cli/contact_sheet.h"
#include "cli/disc_identity.h"
#include "cli/disc_library.h"
#include "cli/exit_status.h"
#include "cli/export_job.h"
#include "cli/image_output.h"
#include "cli/mapfile_report.h"
#include "cli/manifest.h"
#include "cli/output_names.h"
#include "cli/pack_info.h"
#include "cli/photo_decode.h"
#include "cli/photo_inputs.h"
#include "cli/verify.h"
#include "cli/utf8_console.h"
#include "imagefile/metadata_text.h"
#include "imagefile/requested_level.h"
#include "imaging/gdi_backend.h"
#include "photocd/image_pack.h"

#ifdef _WIN32
#include <io.h>
#define LUMIVEXA_ISATTY(f) _isatty(_fileno(f))
#else
#include <unistd.h>
#define LUMIVEXA_ISATTY(f) isatty(fileno(f))
#endif

namespace {

const char* const kInputHelp =
    "disc roots, PHOTO_CD folders, disc images (.iso, .cue, .bin) or image packs (.pcd)";

using cli::kExitFailed;
using cli::kExitInterrupted;
using cli::kExitRepaired;
using cli::kExitUsage;

constexpr const char* kExitStatusHelp =
    "Exit status (export and verify):\n"
    "  0    every photo whole at the level asked for\n"
    "  3    every photo written, but some repaired around damage or from a lower level\n"
    "       (verify: damage found)\n"
    "  1    a photo could not be written or read at all, or a file there is not the photo\n"
    "       its manifest names (a conflict)\n"
    "  2    usage error\n"
    "  130  interrupted";

std::atomic<bool> g_interrupted{false};
extern "C" void onInterrupt(int) { g_interrupted = true; }

// Ctrl+C, SIGTERM and (where there is one) SIGHUP, sent when the terminal or
// ssh connection of a run goes away, all finish the run cleanly.
void stopCleanlyOnSignals() {
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
#ifdef SIGHUP
  std::signal(SIGHUP, onInterrupt);
#endif
}

// "key: value" lines, nested objects indented.
void printText(const nlohmann::json& j, int indent = 0) {
  for (auto it = j.begin(); it != j.end(); ++it) {
    std::string pad(static_cast<std::size_t>(indent), ' ');
    const nlohmann::json& v = it.value();
    if (v.is_object()) {
      std::cout << pad << it.key() << ":\n";
      printText(v, indent + 2);
    } else if (v.is_array() && !v.empty() && v.front().is_object()) {
      for (std::size_t i = 0; i < v.size(); ++i) {
        std::cout << pad << it.key() << " " << i + 1 << ":\n";
        printText(v[i], indent + 2);
      }
    } else {
      std::string value;
      if (v.is_string()) value = v.get<std::string>();
      else if (v.is_array()) {
        for (const nlohmann::json& item : v) value += (value.empty() ? "" : ", ") + (item.is_string() ? item.get<std::string>() : item.dump());
      } else value = v.dump();
      // Disc text may hold control characters: they are shown, not obeyed by the terminal.
      std::cout << pad << it.key() << ": " << imagefile::EscapedUtf8(value) << "\n";
    }
  }
}

// The description of one disc or pack; false when it cannot be read at all
// or a photo cannot be opened.
bool describeInput(const std::string& path, nlohmann::json& out) {
  cli::DiscInput disc;
  std::string error;
  out["path"] = cli::shownPath(path);
  if (!cli::findImagePacks(path, disc, error)) {
    out["error"] = error;
    return false;
  }
  if (!disc.photoCdFolder.empty()) out["disc"] = cli::describeDisc(disc.photoCdFolder);
  out["photoCount"] = disc.packs.size();
  nlohmann::json photos = nlohmann::json::array();
  bool ok = true;
  for (const std::string& packPath : disc.packs) {
    nlohmann::json photo;
    ImagePack* pack = nullptr;
    PcdStatus opened = PcdOpenImagePack(packPath.c_str(), pack);
    if (opened == kPcdOk) {
      photo = cli::describePack(pack);
      PcdCloseImagePack(pack);
    } else {
      photo["error"] = cli::whyNotAPack(packPath);
      ok = false;
    }
    photo["file"] = cli::shownPath(packPath);
    photos.push_back(photo);
  }
  out["photos"] = photos;
  return ok;
}

// One description per path: an object for one path, an array for several.
int runInfo(const std::vector<std::string>& paths, bool json) {
  nlohmann::json all = nlohmann::json::array();
  int status = 0;
  for (const std::string& path : paths) {
    nlohmann::json out;
    if (!describeInput(path, out)) status = kExitFailed;
    if (!json) {
      if (out.contains("error")) std::cerr << out["path"].get<std::string>() << ": " << out["error"].get<std::string>() << "\n";
      else printText(out);
      if (&path != &paths.back()) std::cout << "\n";
    }
    all.push_back(out);
  }
  // All text is UTF-8 already; a stray byte is replaced rather than ending the program.
  const nlohmann::json& shown = paths.size() == 1 ? all[0] : all;
  if (json) std::cout << shown.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  return status;
}

// A path that cannot be opened, and why.
struct Unopened {
  std::string path, error;
};

// Opens every path as a disc or packs; the paths that fail get a line each.
std::vector<Unopened> gatherDiscs(const std::vector<std::string>& paths, std::vector<cli::DiscInput>& discs,
                                  std::vector<std::string>& sources) {
  std::vector<Unopened> unopened;
  for (const std::string& path : paths) {
    cli::DiscInput disc;
    std::string error;
    if (!cli::findImagePacks(path, disc, error)) {
      std::cerr << cli::shownPath(path) << ": " << error << "\n";
      unopened.push_back({path, error});
      continue;
    }
    discs.push_back(disc);
    sources.push_back(path);
  }
  return unopened;
}

// What export prints and writes beside the photos.
struct ExportReport {
  bool quiet = false;    // failures only
  std::string manifest;  // appended to when not empty
  bool library = false;  // the output folder is a library: a record and a manifest per disc
  std::vector<std::string> commandLine;  // kept in each disc's record
};

// What became of a disc's photos.
struct ExportTally {
  std::size_t photos = 0, written = 0, present = 0, existing = 0, conflicts = 0, failed = 0, cancelled = 0, degraded = 0;
  std::string firstError;
  void add(const cli::ExportResult& r) {
    ++photos;
    if (r.ok) ++written;
    else if (r.present) ++present;
    else if (r.exists) ++existing;
    else if (r.conflict) ++conflicts;
    else if (g_interrupted && r.error == "cancelled") ++cancelled;
    else ++failed;
    if ((r.ok || r.present) && (r.repaired || r.lowerLevel)) ++degraded;
    if (firstError.empty() && (r.conflict || (!r.ok && !r.present && !r.exists && r.error != "cancelled")))
      firstError = cli::shownPath(r.input) + ": " + r.error;
  }
  void merge(const ExportTally& t) {
    photos += t.photos, written += t.written, present += t.present, existing += t.existing;
    conflicts += t.conflicts, failed += t.failed, cancelled += t.cancelled, degraded += t.degraded;
  }
  nlohmann::json counts() const {
    return {{"photos", photos},      {"written", written}, {"present", present}, {"repaired", degraded},
            {"conflicts", conflicts}, {"failed", failed}};
  }
};

// The line each photo gets: failures and conflicts always, notes unless quiet.
void reportPhoto(const cli::ExportResult& r, bool quiet) {
  if (r.exists) {
    if (!quiet) std::cerr << "skipped: " << r.error << "\n";
  } else if (r.conflict || (!r.ok && !r.present && r.error != "cancelled")) {
    std::cerr << (r.conflict ? "" : cli::shownPath(r.input) + ": ") << r.error << "\n";
  } else if (!r.note.empty() && !quiet && r.ok) {
    std::cerr << cli::shownPath(r.input) << ": " << r.note << "\n";
  }
}

void printDryRun(const std::vector<cli::ExportResult>& results, const cli::ExportSettings& settings, int& status) {
  for (const cli::ExportResult& r : results) {
    std::error_code ec;
    const bool skipped = !settings.overwrite && std::filesystem::exists(std::filesystem::u8path(r.output), ec);
    if (r.error.empty())
      std::cout << cli::shownPath(r.input) << " -> " << cli::shownPath(r.output) << (skipped ? " (exists; skipped)" : "")
                << "\n";
    else std::cerr << cli::shownPath(r.input) << ": " << r.error << "\n";
    if (!r.error.empty()) status = kExitFailed;
  }
}

// The disc's packs exported, and a failed result for each pack it lists but lacks.
std::vector<cli::ExportResult> exportDisc(const cli::DiscInput& disc, const cli::ExportSettings& settings) {
  std::vector<cli::ExportResult> results = cli::exportPhotos(disc.packs, settings);
  for (const std::string& missing : disc.missing) {
    cli::ExportResult r;
    r.input = missing;
    r.error = cli::missingText(disc.listed);
    results.push_back(r);
  }
  return results;
}

// A disc's record as this run starts it: its source, the converter and the options.
cli::DiscRecord startRecord(const std::string& source, const ExportReport& report) {
  cli::DiscRecord record;
  std::error_code ec;
  record.source = std::filesystem::absolute(std::filesystem::u8path(source), ec).lexically_normal().u8string();
  record.tool = "lumivexa-cli " LUMIVEXA_VERSION;
  record.options = report.commandLine;
  record.state = "running";
  return record;
}

// The record of a disc whose run failed: the reason, and what is known of it.
void recordFailure(const std::string& library, const std::string& key, cli::DiscRecord& record, const std::string& reason) {
  record.state = "failed";
  record.reason = reason;
  std::string error;
  if (!cli::writeRecord(library, key, record, error)) std::cerr << error << "\n";
}

// A disc exported into a library: its folder claimed, its record kept from
// "running" to its final state, and its own manifest written photo by photo.
int exportIntoLibrary(const std::string& source, const cli::DiscInput& disc, cli::ExportSettings settings,
                      const ExportReport& report, ExportTally& tally) {
  const std::string key = cli::discKey(source);
  const std::string library = settings.folder;
  std::vector<std::string> packs = disc.packs;
  if (packs.empty()) packs = disc.missing;
  cli::DiscRecord record = startRecord(source, report);
  record.identity = cli::discIdentity(disc.photoCdFolder, packs);
  std::string error;
  cli::DiscPlacement place;
  cli::Manifest manifest;
  bool ready = cli::placeDisc(library, settings.namePattern, packs.front(), record.identity, key, place, error) &&
               manifest.open(cli::discManifestPath(library, key), error);
  record.folder = place.claimed;
  if (ready) ready = cli::writeRecord(library, key, record, error);
  if (!ready) {
    std::cerr << cli::shownPath(source) << ": " << error << "\n";
    recordFailure(library, key, record, error);
    return kExitFailed;
  }
  if (place.moved)
    std::cerr << cli::shownPath(source) << ": another disc has the folder this one would take; its photos go to "
              << cli::shownPath(place.folder) << "\n";
  settings.folder = place.folder;
  settings.namePattern = place.pattern;
  settings.manifest = &manifest;
  for (const cli::ExportResult& r : exportDisc(disc, settings)) {
    reportPhoto(r, report.quiet);
    tally.add(r);
  }
  record.counts = tally.counts();
  if (g_interrupted) record.state = "interrupted";
  else if (tally.failed || tally.conflicts) record.state = "failed";
  else if (tally.degraded) record.state = "repaired";  // a re-run sees the repairs in the manifest lines
  else record.state = "done";
  record.reason = record.state == "failed" ? tally.firstError : "";
  if (!cli::writeRecord(library, key, record, error)) {
    std::cerr << error << "\n";
    return kExitFailed;
  }
  if (g_interrupted) return kExitInterrupted;
  return record.state == "failed" ? kExitFailed : record.state == "repaired" ? kExitRepaired : 0;
}

int runExport(const std::vector<std::string>& paths, cli::ExportSettings settings, const ExportReport& report) {
  std::vector<cli::DiscInput> discs;
  std::vector<std::string> sources;
  const std::vector<Unopened> unopened = gatherDiscs(paths, discs, sources);
  int status = unopened.empty() ? 0 : kExitFailed;
  // The reader's Photo CD module reads the wanted level from here.
  g_requestedPcdLevel = settings.decode.level;
  settings.progressBar = settings.progressBar && !report.quiet && !settings.dryRun && LUMIVEXA_ISATTY(stderr);
  // Ctrl+C finishes cleanly: no half-written file stays behind, and the
  // report of what was done comes before the exit.
  settings.cancel = &g_interrupted;
  stopCleanlyOnSignals();
  std::string error;
  cli::Manifest manifest;
  if (!report.manifest.empty() && !settings.dryRun) {
    if (!manifest.open(report.manifest, error)) {
      std::cerr << error << "\n";
      return kExitFailed;
    }
    settings.manifest = &manifest;
  }
  if (report.library && !settings.dryRun) {
    if (!cli::prepareLibrary(settings.folder, error)) {
      std::cerr << error << "\n";
      return kExitFailed;
    }
    for (const Unopened& u : unopened) {  // a shelf's status names these too
      cli::DiscRecord record = startRecord(u.path, report);
      recordFailure(settings.folder, cli::discKey(u.path), record, u.error);
    }
  }
  ExportTally all;
  for (std::size_t d = 0; d < discs.size() && !g_interrupted; ++d) {
    if (settings.dryRun) {
      printDryRun(exportDisc(discs[d], settings), settings, status);
      continue;
    }
    if (report.library) {
      ExportTally tally;
      if (exportIntoLibrary(sources[d], discs[d], settings, report, tally) == kExitFailed) status = kExitFailed;
      all.merge(tally);
      continue;
    }
    for (const cli::ExportResult& r : exportDisc(discs[d], settings)) {
      reportPhoto(r, report.quiet);
      all.add(r);
    }
  }
  if (settings.dryRun) return status;
  if (!report.quiet || g_interrupted) {
    std::cerr << all.written << " of " << all.photos << " photos written to " << cli::shownPath(settings.folder);
    if (all.present) std::cerr << "; " << all.present << " there already";
    if (all.existing == 1) std::cerr << "; 1 skipped because its file exists";
    if (all.existing > 1) std::cerr << "; " << all.existing << " skipped because their files exist";
    if (all.degraded) std::cerr << "; " << all.degraded << " repaired or from a lower level";
    if (g_interrupted) std::cerr << "; interrupted, " << all.cancelled << " not written";
    std::cerr << "\n";
  }
  if (all.conflicts) std::cerr << all.conflicts << (all.conflicts == 1 ? " conflict" : " conflicts") << ": files there that are not the photos their manifest names\n";
  if (g_interrupted) return kExitInterrupted;
  if (all.failed != 0 || all.conflicts != 0) return kExitFailed;
  return status == 0 && all.degraded ? kExitRepaired : status;
}

int runVerify(const std::vector<std::string>& paths, bool json, int jobs) {
  std::vector<std::string> inputs;
  std::vector<cli::VerifyResult> missing;
  nlohmann::json unopened = nlohmann::json::array();
  for (const std::string& path : paths) {
    cli::DiscInput disc;
    std::string error;
    if (!cli::findImagePacks(path, disc, error)) {
      if (!json) std::cerr << cli::shownPath(path) << ": " << error << "\n";
      unopened.push_back({{"path", cli::shownPath(path)}, {"error", error}});
      continue;
    }
    inputs.insert(inputs.end(), disc.packs.begin(), disc.packs.end());
    for (const std::string& pack : disc.missing) missing.push_back({pack, {}, {cli::missingText(disc.listed)}, {}});
  }
  cli::VerifySettings settings;
  settings.jobs = jobs;
  settings.progressBar = !json && LUMIVEXA_ISATTY(stderr);
  settings.cancel = &g_interrupted;
  stopCleanlyOnSignals();
  std::vector<cli::VerifyResult> results = cli::verifyPhotos(inputs, settings);
  // An interrupted run reports the photos it finished.
  if (g_interrupted)
    results.erase(std::remove_if(results.begin(), results.end(),
                                 [](const cli::VerifyResult& r) { return r.error == "cancelled"; }),
                  results.end());
  results.insert(results.end(), missing.begin(), missing.end());
  bool unreadable = !unopened.empty(), damaged = false;
  for (const cli::VerifyResult& r : results) {
    unreadable = unreadable || !r.error.empty();
    damaged = damaged || !r.whole();
  }
  const std::vector<cli::MappedDamage> notCopied = cli::mappedDamage(inputs);
  if (json) {
    nlohmann::json document = cli::verifyJson(results);
    for (const cli::MappedDamage& d : notCopied)
      document["notCopied"].push_back({{"file", d.pack}, {"sectors", d.sectors}, {"parts", d.parts}});
    if (!unopened.empty()) document["inputs"] = unopened;
    if (g_interrupted) document["interrupted"] = true;
    std::cout << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  } else {
    for (const cli::VerifyResult& r : results) std::cout << cli::verifyLine(r) << "\n";
    for (const cli::MappedDamage& d : notCopied) std::cout << cli::mappedDamageLine(d) << "\n";
    std::cout << cli::verifySummary(results) << (g_interrupted ? "; interrupted before the rest" : "") << "\n";
  }
  if (g_interrupted) return kExitInterrupted;
  return unreadable ? kExitFailed : damaged ? kExitRepaired : 0;
}

// Rebuilds the library's manifest from its discs' manifests.
int runManifest(const std::string& library) {
  std::size_t lines = 0;
  std::string error;
  if (!cli::rebuildLibraryManifest(library, lines, error)) {
    std::cerr << error << "\n";
    return kExitFailed;
  }
  std::cout << cli::shownPath((std::filesystem::u8path(library) / "manifest.jsonl").u8string()) << ": " << lines
            << (lines == 1 ? " file\n" : " files\n");
  return 0;
}

// The state of each source in the library, from the discs' records: a line
// for each that is not done, then the count of each state.
int runStatus(const std::string& library, const std::vector<std::string>& sources) {
  std::size_t done = 0, repaired = 0, failed = 0, unfinished = 0;
  for (const std::string& source : sources) {
    cli::DiscRecord record;
    if (!cli::readRecord(library, cli::discKey(source), record)) record.state = "not started";
    const std::string shown = cli::shownPath(source);
    if (!cli::finished(record.state)) ++unfinished, std::cerr << "unfinished: " << shown << " (" << record.state << ")\n";
    else if (record.state == "done") ++done;
    else if (record.state == "repaired") ++repaired, std::cerr << "repaired: " << shown << "\n";
    else ++failed, std::cerr << "failed: " << shown << ": " << record.reason << "\n";
  }
  std::cerr << sources.size() << (sources.size() == 1 ? " disc: " : " discs: ") << done << " done, " << repaired
            << " with repairs, " << failed << " failed, " << unfinished << " unfinished; library "
            << cli::shownPath(library) << "\n";
  if (unfinished) return kExitInterrupted;
  return failed ? kExitFailed : repaired ? kExitRepaired : 0;
}

int runContact(const std::string& path, const std::string& output, int columns, cli::WriteOptions options) {
  cli::DiscInput disc;
  std::string error;
  if (!cli::findImagePacks(path, disc, error)) {
    std::cerr << cli::shownPath(path) << ": " << error << "\n";
    return kExitFailed;
  }
  if (disc.photoCdFolder.empty()) {
    std::cerr << cli::shownPath(path) << ": a contact sheet needs a disc's root or its PHOTO_CD folder\n";
    return kExitFailed;
  }
  std::vector<std::string> problems;
  imaging::BitmapHandle sheet =
      cli::makeContactSheet(disc, columns, cli::contactSheetTitle(disc.photoCdFolder), problems, error);
  if (!sheet) {
    std::cerr << cli::shownPath(path) << ": " << error << "\n";
    return kExitFailed;
  }
  for (const std::string& problem : problems) std::cerr << problem << "\n";
  const bool written = cli::writeImageFile(sheet, nullptr, options, output, error) == cli::WriteOutcome::Written;
  imaging::deleteBitmap(sheet);
  if (!written) {
    std::cerr << error << "\n";
    return kExitFailed;
  }
  return problems.empty() ? 0 : kExitFailed;
}

// "png" or "jpg" for a sheet's file name; empty for other names.
std::string sheetFormat(const std::string& output) {
  std::string extension = std::filesystem::u8path(output).extension().u8string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (extension == ".png") return "png";
  if (extension == ".jpg" || extension == ".jpeg") return "jpg";
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = cli::switchToUtf8(argc, argv);
  std::vector<const char*> argumentPointers;
  for (const std::string& argument : arguments) argumentPointers.push_back(argument.c_str());

  CLI::App app{"Lumivexa SE command-line converter: Photo CD information, export, verification and contact sheets."};
  app.require_subcommand(1);
  app.set_version_flag("--version", "lumivexa-cli " LUMIVEXA_VERSION);
  app.option_defaults()->always_capture_default();
  app.footer(
      "Examples:\n"
      "  lumivexa-cli export /media/cdrom -o photos --format jpg --name \"{serial}-{photo}\"\n"
      "  lumivexa-cli contact /media/cdrom -o index.png\n"
      "Run lumivexa-cli COMMAND --help for a command's options and their defaults.\n" +
      std::string(kExitStatusHelp));

  std::vector<std::string> infoPaths;
  bool json = false;
  CLI::App* info = app.add_subcommand("info", "Describe discs (their root or PHOTO_CD folder), disc images or image packs.");
  info->add_option("PATH", infoPaths, kInputHelp)->required();
  info->add_flag("--json", json, "print JSON instead of text (an array for several paths)");
  info->footer(
      "Examples:\n  lumivexa-cli info /media/cdrom\n  lumivexa-cli info --json PHOTO_CD/IMAGES/IMG0001.PCD\n"
      "  lumivexa-cli info shelf/*.cue");

  std::vector<std::string> paths;
  cli::ExportSettings settings;
  std::string level = "16base", highlights = "rolloff", compression = "lzw";
  int rotation = 0, quality = 90, dpi = 72;
  bool progressive = false, bilevel = false;
  ExportReport report;
  std::string sampling = "420";
  settings.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  CLI::App* exp = app.add_subcommand("export", "Write one image file per photo.");
  exp->add_option("PATH", paths, kInputHelp)->required()->default_str("");
  exp->add_option("-o,--output", settings.folder, "output folder (made when missing)")->required();
  exp->add_option("--name", settings.namePattern, cli::kNamePatternHelp)
      ->check([](const std::string& pattern) { return cli::checkNamePattern(pattern); });
  exp->add_flag("--overwrite", settings.overwrite, "replace existing files (otherwise they are skipped)");
  exp->add_option("--format", settings.format, "file format")->check(CLI::IsMember({"tif", "jpg", "bmp", "png"}));
  exp->add_option("--level", level, "Photo CD level: base/64, base/16, base/4, base, 4base, 16base, 64base or max")
      ->check(CLI::IsMember({"base/64", "base/16", "base/4", "base", "4base", "16base", "64base", "max"}));
  exp->add_option("--rotate", rotation, "degrees clockwise")->check(CLI::IsMember({0, 90, 180, 270}));
  exp->add_option("--jpeg-quality", quality, "JPEG quality 0..100")->check(CLI::Range(0, 100));
  exp->add_flag("--progressive", progressive, "progressive JPEG");
  exp->add_option("--jpeg-sampling", sampling, "JPEG chroma sampling: 444 (full colour detail), 422 or 420")
      ->check(CLI::IsMember({"444", "422", "420"}))
      ->capture_default_str();
  exp->add_option("--tiff-compression", compression, "TIFF compression (g3 and g4 need --bilevel)")
      ->check(CLI::IsMember({"none", "g3", "g4", "lzw", "deflate", "jpeg"}));
  exp->add_flag("--bilevel", bilevel, "allow g3 and g4, which turn each photo into 1-bit black and white");
  exp->add_option("--dpi", dpi, "resolution stated in the files (TIFF, JFIF, PNG pHYs, BMP and EXIF)")
      ->check(CLI::Range(1, 65535));
  exp->add_option("--gamma", settings.decode.gamma, "gamma factor")->check(CLI::Range(0.1, 10.0));
  exp->add_option("--highlights", highlights, "clip the light above white or roll it off, at every level")
      ->check(CLI::IsMember({"clip", "rolloff"}));
  exp->add_option("-j,--jobs", settings.jobs, "photos converted at once (default: all cores)")->check(CLI::Range(1, 256));
  exp->add_option("--manifest", report.manifest,
                  "append one JSON line per photo written (source, output, level, size, sha256, repairs) to FILE");
  exp->add_flag("--library", report.library,
                "the output folder is a library of many discs: each disc gets its own folder, a state record and a "
                "manifest in OUTPUT/.lumivexa (see the status and manifest commands)");
  exp->add_flag("--checksum", settings.checksum,
                "check files already there against their manifest line by SHA-256 instead of size and modification time");
  exp->add_flag("--dry-run", settings.dryRun, "print what would be written, write nothing");
  exp->add_flag("-q,--quiet", report.quiet, "print failures only");
  exp->add_flag("--strict", settings.strict, "write no photo that needed a repair or a lower level than asked for");
  exp->footer(
      "Examples:\n"
      "  lumivexa-cli export /media/cdrom -o photos --format tif --level 16base\n"
      "  lumivexa-cli export trip.cue -o library --format jpg --name \"{serial}-{photo}\" --manifest library/manifest.jsonl\n" +
      std::string(kExitStatusHelp));

  std::vector<std::string> verifyPaths;
  bool verifyJson = false;
  int verifyJobs = settings.jobs;
  CLI::App* verify = app.add_subcommand("verify", "Decode every level of every photo in full and report damage.");
  verify->add_option("PATH", verifyPaths, kInputHelp)->required()->default_str("");
  verify->add_flag("--json", verifyJson, "print one JSON document instead of text");
  verify->add_option("-j,--jobs", verifyJobs, "photos verified at once (default: all cores)")->check(CLI::Range(1, 256));
  verify->footer("Examples:\n  lumivexa-cli verify /media/cdrom\n  lumivexa-cli verify --json disc.iso\n" +
                 std::string(kExitStatusHelp));

  std::string library;
  CLI::App* manifestCommand =
      app.add_subcommand("manifest", "Rebuild LIBRARY/manifest.jsonl from the manifests of the discs exported with --library.");
  manifestCommand->add_option("LIBRARY", library, "the output folder of export --library")->required();
  std::vector<std::string> statusSources;
  CLI::App* status = app.add_subcommand("status", "Say which discs of a library are done, repaired, failed or unfinished.");
  status->add_option("LIBRARY", library, "the output folder of export --library")->required();
  status->add_option("SOURCE", statusSources, "the disc images or folders exported into it")->required();
  status->footer("Exit status: 0 all done; 3 all done, some with repairs; 1 some failed; 130 some unfinished.");

  std::string discPath, sheetPath;
  int columns = 6;
  cli::WriteOptions sheetOptions;
  CLI::App* contact = app.add_subcommand("contact", "Draw every photo of a disc on one sheet, numbered.");
  contact->add_option("DISC", discPath, "disc root, PHOTO_CD folder or disc image (.iso, .cue, .bin)")->required();
  contact->add_option("-o,--output", sheetPath, "the sheet: a .png or .jpg file")->required()->check(
      [](const std::string& name) { return sheetFormat(name).empty() ? "the sheet's name must end in .png or .jpg" : ""; });
  contact->add_option("--columns", columns, "photos across")->check(CLI::Range(1, 100));
  contact->add_flag("--overwrite", sheetOptions.overwrite, "replace an existing sheet");
  contact->footer(
      "Examples:\n"
      "  lumivexa-cli contact /media/cdrom -o index.png\n"
      "  lumivexa-cli contact trip.cue -o index.jpg --columns 8");

  std::string mapfile;
  for (CLI::App* command : {info, exp, verify}) command->add_option("--mapfile", mapfile, cli::kMapfileHelp);

  try {
    app.parse(static_cast<int>(argumentPointers.size()), argumentPointers.data());
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? 0 : kExitUsage;
  }
  std::string mapfileError;
  if (!mapfile.empty() && !cli::useMapfile(*info ? infoPaths : *verify ? verifyPaths : paths, mapfile, mapfileError)) {
    std::cerr << mapfileError << "\n";
    return kExitUsage;
  }

  if (*info) return runInfo(infoPaths, json);
  if (*manifestCommand) return runManifest(library);
  if (*status) return runStatus(library, statusSources);
  if (*verify) return runVerify(verifyPaths, verifyJson, verifyJobs);
  if (*contact) {
    sheetOptions.format = sheetFormat(sheetPath);
    sheetOptions.jpeg.quality = 90;
    sheetOptions.fastPng = true;  // a sheet is looked at, not archived
    return runContact(discPath, sheetPath, columns, sheetOptions);
  }

  // CCITT compressions hold black and white only: a colour photo becomes 1-bit
  // only when that is asked for.
  if ((compression == "g3" || compression == "g4") && !bilevel) {
    std::cerr << "--tiff-compression " << compression
              << " stores black and white only; add --bilevel to turn the photos into 1-bit black and white\n";
    return kExitUsage;
  }
  const char* compressions[] = {"none", "g3", "g4", "lzw", "deflate", "jpeg"};
  for (int i = 0; i < 6; ++i)
    if (compression == compressions[i]) settings.tiff.compression = i;
  settings.tiff.xDpi = settings.tiff.yDpi = static_cast<unsigned>(dpi);
  settings.jpeg.quality = quality;
  settings.jpeg.progressive = progressive;
  settings.jpeg.sampling = sampling == "444"   ? imagefile::kSampling444
                           : sampling == "422" ? imagefile::kSampling422
                                               : imagefile::kSampling420;
  settings.jpeg.optimise = 1;
  settings.decode.level = cli::levelFromName(level);
  settings.decode.highlights = highlights == "clip" ? cli::Highlights::Clip : cli::Highlights::Rolloff;
  settings.turn = imaging::QuarterTurns::Clockwise(rotation / 90);
  settings.progressBar = true;
  report.commandLine.assign(arguments.begin() + 1, arguments.end());
  return runExport(paths, settings, report);
}
