// The one object through which an image file of any supported format is
// opened, identified and decoded step by step into DibImage frames.
#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imagefile/format_module.h"
#include "imagefile/image_errors.h"
#include "imagefile/image_source.h"
#include "imaging/dib_image.h"
#include "imaging/output_stage.h"
#include "imaging/quarter_turns.h"

namespace imaging {
class PackedDib;
}

namespace imagefile {

struct DecodeRequest {
  int targetWidth = 0;  // 0 = the image's own size
  int targetHeight = 0;
  int dither8 = 1;
  int dither16 = 1;
  double gamma = 1.0;
  bool bottomUp = false;
  bool makeDisplayBitmap = true;
  bool keepFullBitmap = false;
  bool allPages = false;
  int page = 0;
  bool useDdb = false;  // a device-dependent display bitmap (the viewer's option)
  int displayDepth = 0;  // 0 = the screen's bits per pixel
  int threads = 1;       // 2 lets a Photo CD decode above BASE use a second thread
  // Highest Photo CD level (0 = BASE/64 ... 6 = BASE*64) this decode reads; -1
  // takes the program's requested level. Each command says what it wants here,
  // so nothing one window does changes what another decodes.
  int pcdLevel = -1;
  // Photo CD base levels (BASE and below) roll highlights off as the levels
  // above do, instead of clipping them: one tone at every level.
  bool rollOffBaseLevels = false;
};

class ImageReader {
 public:
  explicit ImageReader(const std::vector<FormatModule>& modules = builtinFormatModules());
  ImageReader(const ImageReader&) = delete;
  ImageReader& operator=(const ImageReader&) = delete;
  ~ImageReader();

  // Each open closes what was open and records the new source only.
  void open(const std::string& path);
  void open(ModuleHandle module, int resourceId);
  void open(const void* data, std::size_t size);  // the caller keeps the block alive
  void open(FileHandle handle, std::uint64_t offset, std::uint64_t size);

  // Queries identify the file on first use. A page of -1 is the current page.
  int format();
  int pageCount();
  int width(int page = -1);
  int height(int page = -1);
  int bits(int page = -1);
  int displayedWidth(int page = -1);   // falls back to width() until decoded
  int displayedHeight(int page = -1);

  bool beginDecode(const DecodeRequest& request);
  bool decoding() const { return decoder_ != nullptr; }
  // Decodes up to rows more rows; 1 on success, 0 on failure (see error()).
  int step(int rows, bool* changed = nullptr, imaging::PixelRect* changedRect = nullptr);
  int progress() const;
  bool isComplete(int page = -1) const;
  // The part of the page's bitmaps that holds decoded pixels: what has arrived
  // while the page is being decoded, else the whole page (empty without bitmaps).
  imaging::PixelRect validRect(int page = -1) const;
  // Ends the decode, the frames keeping their bitmaps; releaseIncomplete drops
  // every page's bitmaps when the decode had not completed.
  void finish(bool releaseIncomplete);

  // The page keeps ownership of these.
  imaging::BitmapHandle dibSection(int page = -1) const;
  imaging::BitmapHandle firstBitmap(int page = -1) const;  // the display bitmap, else the DIB section
  imaging::PaletteHandle palette(int page = -1) const;
  imaging::DibImage* frame(int page = -1) const;
  int currentPage() const { return current_; }

  bool rotate(imaging::QuarterTurns turn);
  void release(int page = -1);
  void releaseAll();
  void close();

  // Makes frame 0 from packed DIBs (thumbnails, property pages).
  bool adoptPackedDibs(const imaging::PackedDib* display, const imaging::PackedDib* full);

  void setReducers(const imaging::ReducerFactory* reducers) { reducers_ = reducers; }
  int error() const { return error_; }
  // The file the reader was opened on; empty for other sources.
  const std::string& path() const { return path_; }
  long decodeMilliseconds() const { return elapsedMs_; }
  // What the last decode went around: damage repaired, a lower level enlarged.
  const DecodeDamage& damage() const { return damage_; }

 private:
  enum class SourceKind { None, Path, Resource, Memory, Handle };

  static const imaging::ReducerFactory* defaultReducers();

  void identify();
  std::unique_ptr<ImageSource> openSource(int* error) const;
  imaging::DibImage& ensureFrame(int page);
  int pageIndex(int page) const { return page < 0 ? current_ : page; }
  bool startPage();
  bool fail(int code);

  const std::vector<FormatModule>& modules_;
  const FormatModule* module_ = nullptr;
  // The colour cube and two-pass quantiser unless a caller plugs in others.
  const imaging::ReducerFactory* reducers_ = defaultReducers();

  SourceKind kind_ = SourceKind::None;
  std::string path_;
  ModuleHandle resourceModule_ = nullptr;
  int resourceId_ = 0;
  const void* memory_ = nullptr;
  std::size_t memorySize_ = 0;
  FileHandle handle_ = 0;
  std::uint64_t handleOffset_ = 0, handleSize_ = 0;
  std::unique_ptr<ImageSource> source_;

  int format_ = kFormatUnidentified;
  int identifyError_ = kImageOk;
  int pageCount_ = 0;
  std::vector<std::unique_ptr<imaging::DibImage>> frames_;
  int current_ = 0;

  DecodeRequest request_;
  std::unique_ptr<FormatDecoder> identified_;  // opened by identification, handed to the first decode
  std::unique_ptr<FormatDecoder> decoder_;
  imaging::OutputStage stage_;
  bool pageHandedOver_ = false;
  bool pagesEnded_ = false;  // a multi-page decode met a page it could not start
  int finishedProgress_ = 0;
  std::chrono::steady_clock::time_point started_;
  long elapsedMs_ = 0;
  int error_ = kImageOk;
  DecodeDamage damage_;
};

}  // namespace imagefile
