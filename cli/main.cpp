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
    "  1    a photo could not be written or read at all\n"
    "  2    usage error\n"
    "  130  interrupted";

std::atomic<bool> g_interrupted{false};
extern "C" void onInterrupt(int) { g_interrupted = true; }

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
      std::cout << pad << it.key() << ": " << value << "\n";
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

// Opens every path as a disc or packs; false after a line for each that fails.
bool gatherInputs(const std::vector<std::string>& paths, std::vector<std::string>& inputs) {
  bool ok = true;
  for (const std::string& path : paths) {
    cli::DiscInput disc;
    std::string error;
    if (!cli::findImagePacks(path, disc, error)) {
      std::cerr << cli::shownPath(path) << ": " << error << "\n";
      ok = false;
      continue;
    }
    inputs.insert(inputs.end(), disc.packs.begin(), disc.packs.end());
  }
  return ok;
}

// What export prints and writes beside the photos.
struct ExportReport {
  bool quiet = false;    // failures only
  std::string manifest;  // appended to when not empty
};

int runExport(const std::vector<std::string>& paths, cli::ExportSettings settings, const ExportReport& report) {
  std::vector<std::string> inputs;
  int status = gatherInputs(paths, inputs) ? 0 : kExitFailed;
  // The reader's Photo CD module reads the wanted level from here.
  g_requestedPcdLevel = settings.decode.level;
  settings.progressBar = settings.progressBar && !report.quiet && !settings.dryRun && LUMIVEXA_ISATTY(stderr);
  // Ctrl+C finishes cleanly: no half-written file stays behind, and the
  // report of what was done comes before the exit.
  settings.cancel = &g_interrupted;
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
  std::vector<cli::ExportResult> results = cli::exportPhotos(inputs, settings);
  if (settings.dryRun) {
    for (const cli::ExportResult& r : results) {
      std::error_code ec;
      const bool skipped = !settings.overwrite && std::filesystem::exists(std::filesystem::u8path(r.output), ec);
      if (r.error.empty())
        std::cout << cli::shownPath(r.input) << " -> " << cli::shownPath(r.output) << (skipped ? " (exists; skipped)" : "")
                  << "\n";
      else std::cerr << cli::shownPath(r.input) << ": " << r.error << "\n";
      if (!r.error.empty()) status = kExitFailed;
    }
    return status;
  }
  std::size_t written = 0, existing = 0, failed = 0, cancelled = 0, degraded = 0;
  for (const cli::ExportResult& r : results) {
    if (r.ok) ++written;
    else if (r.exists) ++existing;
    else if (g_interrupted && r.error == "cancelled") ++cancelled;
    else ++failed;
    if (r.ok && (r.repaired || r.lowerLevel)) ++degraded;
    if (r.exists) {
      if (!report.quiet) std::cerr << "skipped: " << r.error << "\n";
    } else if (!r.ok && r.error != "cancelled") {
      std::cerr << cli::shownPath(r.input) << ": " << r.error << "\n";
    } else if (!r.note.empty() && !report.quiet) {
      std::cerr << cli::shownPath(r.input) << ": " << r.note << "\n";
    }
  }
  if (!report.manifest.empty()) {
    std::vector<std::string> problems;
    std::string error;
    if (!cli::appendManifest(report.manifest, results, problems, error)) problems.push_back(error);
    for (const std::string& problem : problems) std::cerr << problem << "\n";
    if (!problems.empty()) status = kExitFailed;
  }
  if (!report.quiet || g_interrupted) {
    std::cerr << written << " of " << results.size() << " photos written to " << cli::shownPath(settings.folder);
    if (existing == 1) std::cerr << "; 1 skipped because its file exists";
    if (existing > 1) std::cerr << "; " << existing << " skipped because their files exist";
    if (degraded) std::cerr << "; " << degraded << " repaired or from a lower level";
    if (g_interrupted) std::cerr << "; interrupted, " << cancelled << " not written";
    std::cerr << "\n";
  }
  if (g_interrupted) return kExitInterrupted;
  // Files already there from an earlier run are done, not failed.
  if (failed != 0) return kExitFailed;
  return status == 0 && degraded ? kExitRepaired : status;
}

int runVerify(const std::vector<std::string>& paths, bool json, int jobs) {
  std::vector<std::string> inputs;
  const bool found = gatherInputs(paths, inputs);
  cli::VerifySettings settings;
  settings.jobs = jobs;
  settings.progressBar = !json && LUMIVEXA_ISATTY(stderr);
  settings.cancel = &g_interrupted;
  std::signal(SIGINT, onInterrupt);
  std::signal(SIGTERM, onInterrupt);
  const std::vector<cli::VerifyResult> results = cli::verifyPhotos(inputs, settings);
  if (g_interrupted) {
    std::cerr << "interrupted\n";
    return kExitInterrupted;
  }
  bool unreadable = !found, damaged = false;
  for (const cli::VerifyResult& r : results) {
    unreadable = unreadable || !r.error.empty();
    damaged = damaged || !r.whole();
  }
  const std::vector<cli::MappedDamage> notCopied = cli::mappedDamage(inputs);
  if (json) {
    nlohmann::json document = cli::verifyJson(results);
    for (const cli::MappedDamage& d : notCopied)
      document["notCopied"].push_back({{"file", d.pack}, {"sectors", d.sectors}, {"parts", d.parts}});
    std::cout << document.dump(2) << "\n";
  } else {
    for (const cli::VerifyResult& r : results) std::cout << cli::verifyLine(r) << "\n";
    for (const cli::MappedDamage& d : notCopied) std::cout << cli::mappedDamageLine(d) << "\n";
    std::cout << cli::verifySummary(results) << "\n";
  }
  return unreadable ? kExitFailed : damaged ? kExitRepaired : 0;
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
  exp->add_option("--dpi", dpi, "resolution stated in the files (TIFF, JFIF, PNG pHYs and EXIF)")
      ->check(CLI::Range(1, 65535));
  exp->add_option("--gamma", settings.decode.gamma, "gamma factor")->check(CLI::Range(0.1, 10.0));
  exp->add_option("--highlights", highlights, "clip the light above white or roll it off, at every level")
      ->check(CLI::IsMember({"clip", "rolloff"}));
  exp->add_option("-j,--jobs", settings.jobs, "photos converted at once (default: all cores)")->check(CLI::Range(1, 256));
  exp->add_option("--manifest", report.manifest,
                  "append one JSON line per photo written (source, output, level, size, sha256, repairs) to FILE");
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
  return runExport(paths, settings, report);
}
