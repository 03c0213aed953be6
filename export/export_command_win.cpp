#include "export/export_command_win.h"

#include <memory>

#include "export/export_dialog_win.h"
#include "export/export_plan.h"
#include "imagefile/bmp_writer.h"
#include "imagefile/image_reader.h"
#include "imagefile/jpeg_writer.h"
#include "imagefile/photo_metadata.h"
#include "imagefile/requested_level.h"
#include "imagefile/tiff_writer.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "settings/settings_store_win.h"
#include "ui/progress_window_win.h"
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
  PhotoExport(HINSTANCE instance, HWND owner, ProgressWindow& progress, const ExportOptions& options)
      : instance_(instance), owner_(owner), progress_(progress), options_(options) {}

  void run(const std::string& photo, const std::string& folder, int base) {
    const ExportFormat& format = kExportFormats[ExportFormatRow(options_.format)];
    const std::string output = ExportOutputPath(folder, photo, format.extension);
    char text[2 * MAX_PATH + 64] = "";
    FormatStringId(text, sizeof text, instance_, IDS_EXPORT_CONVERTING, FileTitle(photo).c_str(),
                   FileTitle(output).c_str());
    progress_.setText(text);
    progress_.setPosition(base);

    ImageReader reader;
    reader.open(photo);
    if (!decode(reader, base)) {
      if (!g_progressCancelled) tell(IDS_EXPORT_READ_FAILED, IDS_CONVERSION_FAILED);
      return;
    }
    if (options_.rotation != 0) {
      WaitCursor wait;
      reader.rotate(options_.rotation);
    }
    const DecodeDamage& damage = reader.damage();
    if (damage.any())
      repairs_ += FileTitle(photo) + ": " +
                  LoadStringText(instance_, damage.lowerLevel ? IDS_PHOTO_LOWER_LEVEL : IDS_PHOTO_REPAIRED) +
                  (damage.details.empty() ? "" : " (" + damage.details.front() + ")") + "\n";
    write(reader, photo, output, base);
  }

  // One line per photo read from damaged data; empty when there was none.
  const std::string& repairs() const { return repairs_; }

 private:
  bool decode(ImageReader& reader, int base) {
    DecodeRequest request;
    request.bottomUp = true;
    request.makeDisplayBitmap = false;
    request.keepFullBitmap = true;
    request.threads = 2;  // export waits for each photo; the viewer's paced decode keeps to one
    const int rows = DecodeRowsPerStep(reader.width());
    bool ok = reader.beginDecode(request);
    while (ok && !g_progressCancelled && !reader.isComplete()) {
      ok = reader.step(rows) != 0;
      progress_.setPosition(base + reader.progress() * 50 / 10000);
      progress_.pump();
    }
    ok = ok && reader.isComplete();
    reader.finish(true);
    return ok && !g_progressCancelled;
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
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "lvx", 0, temporary)) {
      tell(IDS_EXPORT_OPEN_FAILED, IDS_PROGRAM_CAPTION);
      return;
    }
    writer->setOutput(temporary);
    if (writer->open() != 0) {
      writer->abandon();
      DeleteFileA(temporary);
      tell(IDS_EXPORT_OPEN_FAILED, IDS_PROGRAM_CAPTION);
      return;
    }
    const int height = writer->source().height;
    bool writeFailed = false;
    for (int row = 0; row < height && !g_progressCancelled; ++row) {
      if (writer->writeRows(1) != 0) {
        writeFailed = true;
        break;
      }
      progress_.setPosition(base + 50 + row * 50 / height);
      progress_.pump();
    }
    UINT problem = 0, caption = IDS_PROGRAM_CAPTION;
    if (writeFailed || g_progressCancelled) {
      writer->abandon();
      if (writeFailed) problem = IDS_EXPORT_WRITE_FAILED, caption = IDS_CONVERSION_FAILED;
    } else if (writer->close() != 0) {
      writer->abandon();
      problem = IDS_EXPORT_CLOSE_FAILED;
    } else if (!MoveFileExA(temporary, output.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      problem = IDS_EXPORT_WRITE_FAILED, caption = IDS_CONVERSION_FAILED;
    }
    writer.reset();
    DeleteFileA(temporary);  // nothing there once renamed
    if (problem) tell(problem, caption);
  }

  void tell(UINT textId, UINT captionId) { MessageFromStrings(instance_, owner_, textId, captionId, MB_OK); }

  HINSTANCE instance_;
  HWND owner_;
  ProgressWindow& progress_;
  const ExportOptions& options_;
  std::string repairs_;
};

}  // namespace

void ExportFiles(HINSTANCE instance, HWND owner, const std::vector<std::string>& photos,
                 const ExportOptions& options, const std::string& folder) {
  std::string repairs;
  {
    ProgressWindow progress(instance, owner, LoadStringText(instance, IDS_EXPORT_CAPTION).c_str(), 0);
    progress.setRange(0, 100 * static_cast<int>(photos.size()));
    progress.setPosition(0);
    RequestedLevelScope level(options.resolutionIndex);
    PhotoExport exporter(instance, owner, progress, options);
    for (std::size_t i = 0; i < photos.size(); ++i) exporter.run(photos[i], folder, 100 * static_cast<int>(i));
    repairs = exporter.repairs();
  }
  // Told once the progress window is gone.
  if (!repairs.empty()) {
    std::string text(repairs.size() + 512, '\0');
    FormatStringId(&text[0], text.size(), instance, IDS_EXPORT_REPAIRED, repairs.c_str());
    MessageBoxA(owner, text.c_str(), LoadStringText(instance, IDS_PROGRAM_CAPTION).c_str(), MB_OK | MB_ICONINFORMATION);
  }
}

int ExportPhotos(HINSTANCE instance, HWND owner, const std::vector<std::string>& photos, int initialRotation) {
  ExportOptions stored = LoadStoredOptions();
  ExportOptions working = stored;
  working.rotation = initialRotation;
  ExportDialogParams params;
  params.options = &working;
  if (RunExportDialog(instance, owner, &params) != IDOK) return 0;
  StoreOptions(OptionsToStore(stored, working, params.keepFlags));
  ExportFiles(instance, owner, photos, working, params.folder);
  return 1;
}

}  // namespace imagefile
