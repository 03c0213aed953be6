#include "cli/export_job.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <system_error>
#include <thread>

#include "cli/pack_info.h"
#include "imagefile/bmp_writer.h"
#include "imagefile/jpeg_writer.h"
#include "imagefile/png_writer.h"
#include "imagefile/tiff_writer.h"

namespace fs = std::filesystem;

namespace cli {

namespace {

std::unique_ptr<imagefile::ImageWriter> makeWriter(const ExportSettings& s) {
  if (s.format == "jpg") return std::make_unique<imagefile::JpegWriter>(s.jpeg);
  if (s.format == "bmp") return std::make_unique<imagefile::BmpWriter>();
  if (s.format == "png") return std::make_unique<imagefile::PngWriter>();
  auto tiff = std::make_unique<imagefile::TiffWriter>(s.tiff);
  tiff->setMessageHandler(nullptr);  // its last error is reported with the photo
  tiff->setPredictor(true);
  return tiff;
}

// A name beside the output that no other run or worker uses.
std::string temporaryPath(const std::string& output) {
  static std::mutex lock;
  static std::mt19937_64 random{std::random_device{}()};
  std::lock_guard<std::mutex> hold(lock);
  fs::path p(output);
  char suffix[32];
  std::snprintf(suffix, sizeof suffix, ".%016llx.partial", static_cast<unsigned long long>(random()));
  return (p.parent_path() / ("." + p.filename().string() + suffix)).string();
}

bool writeFile(const DecodedPhoto& photo, const ExportSettings& s, const std::string& output, std::string& error) {
  std::unique_ptr<imagefile::ImageWriter> writer = makeWriter(s);
  if (photo.hasInfo) writer->setMetadata(exportMetadata(photo.info));
  std::string temporary = temporaryPath(output);
  writer->setOutput(temporary);
  if (writer->setSource(photo.bitmap()) != 0) {
    error = "invalid bitmap";
    return false;
  }
  int result = writer->open();
  if (result != 0) error = "cannot create the output file";
  while (result == 0 && writer->rowsWritten() < writer->source().height) {
    if (s.cancel && *s.cancel) {
      error = "cancelled";
      result = imagefile::kWriterFailed;
    } else {
      result = writer->writeRows(64);
    }
  }
  if (result == 0 && (result = writer->close()) != 0) error = "failure closing the output file";
  if (result != 0) {
    if (error.empty()) error = "cannot write the output file";
    const std::string& detail = writer->libraryMessage();
    if (!detail.empty()) error += " (" + detail + ")";
    writer->abandon();
    std::error_code ec;
    fs::remove(temporary, ec);
    return false;
  }
  std::error_code ec;
  fs::rename(temporary, output, ec);
  if (ec) {
    error = "cannot rename into place: " + ec.message();
    fs::remove(temporary, ec);
    return false;
  }
  return true;
}

void exportOne(const ExportSettings& s, ExportResult& r) {
  if (s.cancel && *s.cancel) {
    r.error = "cancelled";
    return;
  }
  DecodedPhoto photo;
  if (!decodePhoto(r.input, s.decode, photo, r.error)) return;
  r.note = photo.note;
  if (!photo.rotate(s.rotation)) {
    r.error = "cannot rotate";
    return;
  }
  r.ok = writeFile(photo, s, r.output, r.error);
}

class ProgressBar {
 public:
  ProgressBar(bool shown, std::size_t total) : shown_(shown), total_(total) { draw(); }
  ~ProgressBar() {
    if (shown_) std::fputc('\n', stderr);
  }
  void advance() {
    std::lock_guard<std::mutex> hold(lock_);
    ++done_;
    draw();
  }

 private:
  void draw() {
    if (!shown_) return;
    constexpr std::size_t kWidth = 40;
    std::size_t filled = total_ ? done_ * kWidth / total_ : kWidth;
    std::fprintf(stderr, "\r[%s%s] %zu/%zu", std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, ' ').c_str(), done_, total_);
    std::fflush(stderr);
  }
  bool shown_;
  std::size_t total_, done_ = 0;
  std::mutex lock_;
};

}  // namespace

std::string outputPath(const std::string& folder, const std::string& input, const std::string& extension) {
  std::size_t slash = input.find_last_of("/\\");
  std::string title = slash == std::string::npos ? input : input.substr(slash + 1);
  std::size_t semicolon = title.find(';');  // ISO 9660 version suffix
  if (semicolon != std::string::npos) title.erase(semicolon);
  std::size_t dot = title.rfind('.');
  title = (dot == std::string::npos ? title : title.substr(0, dot)) + "." + extension;
  if (folder.empty()) return title;
  char last = folder.back();
  return last == '/' || last == '\\' ? folder + title : folder + "/" + title;
}

std::vector<ExportResult> exportPhotos(const std::vector<std::string>& inputs, const ExportSettings& settings) {
  std::vector<ExportResult> results(inputs.size());
  std::map<std::string, std::size_t> claimed;  // output path -> first input writing it
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    results[i].input = inputs[i];
    results[i].output = outputPath(settings.folder, inputs[i], settings.format);
    auto [at, first] = claimed.emplace(results[i].output, i);
    if (!first) results[i].error = "same output name as " + inputs[at->second] + "; not written";
  }

  ProgressBar bar(settings.progressBar, inputs.size());
  const std::size_t workers = std::min<std::size_t>(settings.jobs > 0 ? settings.jobs : 1, inputs.size());
  // With fewer photos at once than processors, each photo decodes on two threads.
  ExportSettings run = settings;
  if (workers < std::thread::hardware_concurrency()) run.decode.threads = 2;
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t i; (i = next++) < results.size();) {
      if (results[i].error.empty()) exportOne(run, results[i]);
      bar.advance();
    }
  };
  std::vector<std::thread> threads;
  for (std::size_t t = 1; t < workers; ++t) threads.emplace_back(work);
  work();
  for (std::thread& t : threads) t.join();
  return results;
}

}  // namespace cli
