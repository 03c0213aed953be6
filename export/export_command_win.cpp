#include "export/export_command_win.h"

#include <memory>

#include "export/export_dialog_win.h"
#include "export/export_plan.h"
#include "export/replace_question_win.h"
#include "imagefile/bmp_writer.h"
#include "imagefile/image_reader.h"
#include "imagefile/jpeg_writer.h"
#include "imagefile/photo_metadata.h"
#include "imagefile/tiff_writer.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "settings/settings_store_win.h"
#include "ui/photo_steps_win.h"
#include "ui/progress_window_win.h"
#include "ui/command_rules_win.h"
#include "ui/ui_utils_win.h"
#include "ui/wait_cursor_win.h"

namespace imagefile {
namespace {

constexpr char kOptionsValue[] = "ExportOptions";

ExportOptions LoadStoredOptions() {
  ExportOptions options;
  std::vector<unsigned char> value;
  if (RegistrySettingsStore(kSettingsKeyPath, RegistrySettingsStore::Access::kRead).readAll(kOptionsValue, &value))
    loadExportOptions(value.data(), value.size(), options);
  return options;
}

void StoreOptions(const ExportOptions& options) {
  std::uint8_t bytes[kExportOptionsSize];
  storeExportOptions(options, bytes);
  RegistrySettingsStore(kSettingsKeyPath, RegistrySettingsStore::Access::kWrite).write(kOptionsValue, bytes, sizeof bytes);
}

std::unique_ptr<ImageWriter> MakeWriter(const ExportOptions& options) {
  if (options.format == kFormatJpeg) return std::make_unique<JpegWriter>(options.jpeg);
  if (options.format == kFormatTiff) return std::make_unique<TiffWriter>(options.tiff);
  return std::make_unique<BmpWriter>();
}

// One photo's way from its image pack to its file.
class PhotoExport {
 public:
  PhotoExport(HINSTANCE instance, HWND owner, ProgressWindow& progress, const ExportOptions& options,
              imaging::QuarterTurns turn)
      : instance_(instance), owner_(owner), progress_(progress), options_(options), turn_(turn) {}

  void run(const std::string& photo, const std::string& folder, int base) {
    const ExportFormat& format = kExportFormats[ExportFormatRow(options_.format)];
    const std::string output = ExportOutputPath(folder, photo, format.extension);
    if (!mayReplace(output)) return;
    char text[2 * MAX_PATH + 64] = "";
    FormatStringId(text, sizeof text, instance_, IDS_EXPORT_CONVERTING, FileTitle(photo).c_str(),
                   FileTitle(output).c_str());
    progress_.setText(text);
    progress_.setPosition(base);

    ImageReader reader;
    reader.open(photo);
    if (!decode(reader, base)) {
      if (!progress_.cancelled()) tell(IDS_EXPORT_READ_FAILED, IDS_CONVERSION_FAILED);
      return;
    }
    if (!turn_.none()) {
      WaitCursor wait;
      if (!reader.rotate(turn_)) {
        // Written unturned, the file would not be the photo as the user asked for it.
        char problem[MAX_PATH + 64] = "";
        FormatStringId(problem, sizeof problem, instance_, IDS_EXPORT_ROTATE_FAILED, FileTitle(photo).c_str());
        MessageWithCaptionId(instance_, owner_, problem, IDS_CONVERSION_FAILED, MB_OK);
        return;
      }
    }
    const DecodeDamage& damage = reader.damage();
    if (damage.any())
      repairs_ += RepairedPhotoLine(FileTitle(photo),
                                    LoadStringText(instance_, damage.lowerLevel ? IDS_PHOTO_LOWER_LEVEL : IDS_PHOTO_REPAIRED),
                                    damage.details) +
                  "\n";
    write(reader, photo, output, base);
  }

  // One line per photo read from damaged data; empty when there was none.
  const std::string& repairs() const { return repairs_; }

 private:
  // An existing file is replaced only when the user says so; Cancel ends the
  // run as the progress window's Cancel does.
  bool mayReplace(const std::string& output) {
    if (progress_.cancelled()) return false;  // the run is over: ask nothing more
    if (replaceAll_ || GetFileAttributesW(Utf16(output).c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    switch (AskReplace(instance_, owner_, FileTitle(output))) {
      case ReplaceAnswer::kYesToAll:
        replaceAll_ = true;
        return true;
      case ReplaceAnswer::kYes:
        return true;
      case ReplaceAnswer::kNo:
        return false;
      case ReplaceAnswer::kCancel:
        progress_.cancel();
        return false;
    }
    return false;
  }

  bool decode(ImageReader& reader, int base) {
    DecodeRequest request;
    request.bottomUp = true;
    request.makeDisplayBitmap = false;
    request.keepFullBitmap = true;
    request.threads = 2;  // export waits for each photo; the viewer's paced decode keeps to one
    request.pcdLevel = options_.resolutionIndex;
    return DecodeWithProgress(reader, request, DecodeRowsPerStep(reader.width()), progress_, {base, 50}) ==
           DecodeOutcome::kComplete;
  }

  void write(ImageReader& reader, const std::string& photo, const std::string& output, int base) {
    std::unique_ptr<ImageWriter> writer = MakeWriter(options_);
    // An image pack's scan data travels with the file; other formats have none.
    ImageMetadata metadata;
    if (ReadPhotoMetadata(photo, metadata)) writer->setMetadata(metadata);
    if (writer->setSource(reader.dibSection()) != 0) {
      tell(IDS_EXPORT_INVALID_BITMAP, IDS_PROGRAM_CAPTION);
      return;
    }
    // A name of our own beside the output, so that an existing file stays whole
    // until the new one is.
    std::string folder = output.substr(0, output.find_last_of('\\') + 1);
    wchar_t temporary[MAX_PATH];
    if (!GetTempFileNameW(Utf16(folder).c_str(), L"lvx", 0, temporary)) {
      tell(IDS_EXPORT_OPEN_FAILED, IDS_PROGRAM_CAPTION);
      return;
    }
    switch (WriteWithProgress(*writer, Utf8(temporary), output, 1, progress_, {base + 50, 50})) {
      case WriteOutcome::kWritten:
      case WriteOutcome::kCancelled:
        break;
      case WriteOutcome::kOpenFailed:
        tell(IDS_EXPORT_OPEN_FAILED, IDS_PROGRAM_CAPTION);
        break;
      case WriteOutcome::kCloseFailed:
        tell(IDS_EXPORT_CLOSE_FAILED, IDS_PROGRAM_CAPTION);
        break;
      case WriteOutcome::kWriteFailed:
      case WriteOutcome::kRenameFailed:
        tell(IDS_EXPORT_WRITE_FAILED, IDS_CONVERSION_FAILED);
        break;
    }
  }

  void tell(UINT textId, UINT captionId) { MessageFromStrings(instance_, owner_, textId, captionId, MB_OK); }

  HINSTANCE instance_;
  HWND owner_;
  ProgressWindow& progress_;
  const ExportOptions& options_;
  imaging::QuarterTurns turn_;
  std::string repairs_;
  bool replaceAll_ = false;  // "Yes to all" was the answer once this run
};

}  // namespace

void ExportFiles(HINSTANCE instance, HWND owner, const std::vector<std::string>& photos,
                 const ExportOptions& options, imaging::QuarterTurns turn, const std::string& folder) {
  // Files go only into a folder the user chose and that takes them, never
  // into the current folder for want of one.
  if (const UINT problem = ExportFolderProblem(folder)) {
    MessageFromStrings(instance, owner, problem, IDS_PROGRAM_CAPTION, MB_OK | MB_ICONWARNING);
    return;
  }
  std::string repairs;
  {
    ProgressWindow progress(instance, owner, LoadStringText(instance, IDS_EXPORT_CAPTION).c_str(), 0);
    progress.setRange(0, 100 * static_cast<int>(photos.size()));
    progress.setPosition(0);
    PhotoExport exporter(instance, owner, progress, options, turn);
    for (std::size_t i = 0; i < photos.size(); ++i) exporter.run(photos[i], folder, 100 * static_cast<int>(i));
    repairs = exporter.repairs();
  }
  // Told once the progress window is gone.
  if (!repairs.empty()) {
    std::string text(repairs.size() + 512, '\0');
    FormatStringId(&text[0], text.size(), instance, IDS_EXPORT_REPAIRED, repairs.c_str());
    MessageBoxW(owner, Utf16(text.c_str()).c_str(), Utf16(LoadStringText(instance, IDS_PROGRAM_CAPTION)).c_str(), MB_OK | MB_ICONINFORMATION);
  }
}

int ExportPhotos(HINSTANCE instance, HWND owner, const std::vector<std::string>& photos,
                 imaging::QuarterTurns initialTurn) {
  ExclusiveCommand run(instance, owner);
  if (!run.started()) return 0;
  ExportOptions working = LoadStoredOptions();
  ExportDialogParams params;
  params.options = &working;
  params.turn = initialTurn;
  if (RunExportDialog(instance, owner, &params) != IDOK) return 0;
  // Read again: only the blocks the user asked to keep replace what is stored now.
  StoreOptions(OptionsToStore(LoadStoredOptions(), working, params.keepFlags));
  ExportFiles(instance, owner, photos, working, params.turn, params.folder);
  return 1;
}

}  // namespace imagefile
