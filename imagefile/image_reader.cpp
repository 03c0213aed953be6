#include "imagefile/image_reader.h"

#include <algorithm>

#include "imagefile/image_errors.h"
#include "imaging/colour/colour_reducer_factory.h"
#include "imaging/gdi_backend.h"
#include "imaging/packed_dib.h"

namespace imagefile {

const imaging::ReducerFactory* ImageReader::defaultReducers() {
  static const imaging::colour::ColourReducerFactory factory;
  return &factory;
}

namespace {
constexpr std::size_t kFrameGrowth = 64;
constexpr int kMaxFrameSide = 32767;  // frame sizes are 16-bit
}  // namespace

ImageReader::ImageReader(const std::vector<FormatModule>& modules) : modules_(modules) {}

ImageReader::~ImageReader() { close(); }

bool ImageReader::fail(int code) {
  error_ = code;
  return false;
}

void ImageReader::open(const std::string& path) {
  close();
  kind_ = SourceKind::Path;
  path_ = path;
}

void ImageReader::open(ModuleHandle module, int resourceId) {
  close();
  kind_ = SourceKind::Resource;
  resourceModule_ = module;
  resourceId_ = resourceId;
}

void ImageReader::open(const void* data, std::size_t size) {
  close();
  kind_ = SourceKind::Memory;
  memory_ = data;
  memorySize_ = size;
}

void ImageReader::open(FileHandle handle, std::uint64_t offset, std::uint64_t size) {
  close();
  kind_ = SourceKind::Handle;
  handle_ = handle;
  handleOffset_ = offset;
  handleSize_ = size;
}

std::unique_ptr<ImageSource> ImageReader::openSource(int* error) const {
  switch (kind_) {
    case SourceKind::Path: return openFileSource(resolveShortcut(path_), error);
    case SourceKind::Resource: return openResourceSource(resourceModule_, resourceId_, error);
    case SourceKind::Memory: return openMemorySource(memory_, memorySize_);
    case SourceKind::Handle: return openHandleSource(handle_, handleOffset_, handleSize_, error);
    case SourceKind::None: break;
  }
  *error = kImageInvalidOperation;
  return nullptr;
}

void ImageReader::identify() {
  if (format_ != kFormatUnidentified) return;
  format_ = kFormatUnrecognised;
  int status = kImageOk;
  source_ = openSource(&status);
  if (!source_) {
    error_ = identifyError_ = status;
    return;
  }
  std::uint8_t head[kIdentifyBytes];
  std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(source_->size(), kIdentifyBytes));
  if (!source_->read(0, head, length)) {
    error_ = identifyError_ = kImageReadFailure;
    return;
  }
  for (const FormatModule& module : modules_) {
    if (module.recognise(head, length, source_->size(), source_->extension())) {
      module_ = &module;
      format_ = module.id;
      break;
    }
  }
  if (!module_) {
    error_ = identifyError_ = kImageBadHeader;
    return;
  }
  if (!module_->createDecoder) return;  // recognised; sizes unknown until a decoder exists
  // Read the first page's description for the size queries. The decoder is
  // kept for the first decode: on a disc every open and probe is a seek.
  std::unique_ptr<FormatDecoder> decoder = module_->createDecoder();
  imaging::SourceDescription description;
  int pages = 0;
  status = decoder->open(*source_, &pages);
  if (status == kImageOk) status = decoder->selectPage(0, description);
  if (status != kImageOk) {
    error_ = status;
    return;
  }
  identified_ = std::move(decoder);
  pageCount_ = pages;
  imaging::DibImage& first = ensureFrame(0);
  first.sourceWidth = static_cast<std::int16_t>(std::min(description.width, kMaxFrameSide));
  first.sourceHeight = static_cast<std::int16_t>(std::min(description.height, kMaxFrameSide));
  first.sourceBits = static_cast<std::uint8_t>(description.bits);
}

imaging::DibImage& ImageReader::ensureFrame(int page) {
  while (static_cast<int>(frames_.size()) <= page) {
    if (frames_.size() == frames_.capacity()) frames_.reserve(frames_.size() + kFrameGrowth);
    frames_.push_back(std::make_unique<imaging::DibImage>());
  }
  return *frames_[page];
}

imaging::DibImage* ImageReader::frame(int page) const {
  int index = pageIndex(page);
  return index >= 0 && index < static_cast<int>(frames_.size()) ? frames_[index].get() : nullptr;
}

int ImageReader::format() {
  identify();
  return format_;
}

int ImageReader::pageCount() {
  identify();
  return pageCount_;
}

int ImageReader::width(int page) {
  identify();
  const imaging::DibImage* f = frame(page);
  return f ? f->sourceWidth : 0;
}

int ImageReader::height(int page) {
  identify();
  const imaging::DibImage* f = frame(page);
  return f ? f->sourceHeight : 0;
}

int ImageReader::bits(int page) {
  identify();
  const imaging::DibImage* f = frame(page);
  return f ? f->sourceBits : 0;
}

int ImageReader::displayedWidth(int page) {
  const imaging::DibImage* f = frame(page);
  return f && f->width ? f->width : width(page);
}

int ImageReader::displayedHeight(int page) {
  const imaging::DibImage* f = frame(page);
  return f && f->height ? f->height : height(page);
}

bool ImageReader::beginDecode(const DecodeRequest& request) {
  if (decoder_) return fail(kImageInvalidOperation);
  request_ = request;
  pagesEnded_ = false;
  if (request.allPages)
    releaseAll();
  else if (imaging::DibImage* f = frame(request.page))
    f->releaseBitmaps();
  error_ = kImageOk;
  damage_ = {};
  finishedProgress_ = 0;
  started_ = std::chrono::steady_clock::now();
  identify();
  if (format_ < 0) return fail(identifyError_);
  if (!module_->createDecoder) return fail(kImageNoDecoder);
  int status = kImageOk;
  if (identified_) {
    decoder_ = std::move(identified_);
  } else {
    decoder_ = module_->createDecoder();
    status = decoder_->open(*source_, &pageCount_);
  }
  if (status == kImageOk && (request.page < 0 || request.page >= pageCount_)) status = kImagePageMissing;
  current_ = status == kImageOk ? request.page : current_;
  if (status != kImageOk || !startPage()) {
    if (status != kImageOk) error_ = status;
    stage_.end();
    decoder_.reset();
    return false;
  }
  return true;
}

bool ImageReader::startPage() {
  imaging::SourceDescription description;
  decoder_->setThreads(request_.threads);
  decoder_->setLevel(request_.pcdLevel);
  decoder_->setRollOffBaseLevels(request_.rollOffBaseLevels);
  int status = decoder_->selectPage(current_, description);
  if (status != kImageOk) return fail(status);
  if (description.width > kMaxFrameSide || description.height > kMaxFrameSide) return fail(kImageTooWide);
  imaging::OutputOptions options;
  options.boxWidth = request_.targetWidth;
  options.boxHeight = request_.targetHeight;
  options.dither8 = request_.dither8;
  options.dither16 = request_.dither16;
  options.gamma = request_.gamma;
  options.displayDepth = request_.displayDepth > 0 ? request_.displayDepth : imaging::screenDepth();
  options.bottomUp = request_.bottomUp;
  options.makeDisplay = request_.makeDisplayBitmap;
  options.keepFull = request_.keepFullBitmap;
  options.useDdb = request_.useDdb;
  options.reducers = reducers_;
  if (!stage_.begin(options, description, decoder_.get())) return fail(stage_.error());
  imaging::DibImage& f = ensureFrame(current_);
  f.releaseBitmaps();
  f.complete = false;
  f.sourceWidth = static_cast<std::int16_t>(description.width);
  f.sourceHeight = static_cast<std::int16_t>(description.height);
  f.width = static_cast<std::int16_t>(stage_.outWidth());
  f.height = static_cast<std::int16_t>(stage_.outHeight());
  f.sourceBits = static_cast<std::uint8_t>(description.bits);
  f.displayBits = static_cast<std::uint8_t>(stage_.displayBits());
  f.colourType = static_cast<std::uint8_t>(description.colourType);
  stage_.lendTo(f);
  pageHandedOver_ = false;
  return true;
}

int ImageReader::step(int rows, bool* changed, imaging::PixelRect* changedRect) {
  if (changed) *changed = false;
  if (!decoder_) {
    fail(kImageInvalidOperation);
    return 0;
  }
  if (pageHandedOver_ || stage_.progress() >= 10000) {
    stage_.handOver(*frames_[current_]);
    pageHandedOver_ = true;
    if (request_.allPages && !pagesEnded_ && current_ + 1 < pageCount_) {
      frames_[current_]->complete = true;
      ++current_;
      if (!startPage()) {  // stay on the last good page and end the multi-page decode
        --current_;
        pagesEnded_ = true;
        pageHandedOver_ = true;
      }
    }
    return 1;
  }
  if (!stage_.step(rows, changed, changedRect)) {
    fail(stage_.error());
    return 0;
  }
  stage_.lendTo(*frames_[current_]);  // a second pass may have replaced the palette
  if (request_.allPages && current_ > 0) {
    bool done = stage_.progress() >= 10000;
    if (changed) *changed = done;
    if (changedRect) *changedRect = done ? imaging::PixelRect{0, 0, stage_.outWidth(), stage_.outHeight()}
                                         : imaging::PixelRect{};
  }
  return 1;
}

int ImageReader::progress() const {
  if (!decoder_) return finishedProgress_;
  return pageHandedOver_ ? 10000 : stage_.progress();
}

bool ImageReader::isComplete(int page) const {
  const imaging::DibImage* f = frame(page);
  if (!f || (!f->displayBitmap && !f->fullBitmap)) return false;
  return pageIndex(page) != current_ || progress() >= 10000;
}

imaging::PixelRect ImageReader::validRect(int page) const {
  const imaging::DibImage* f = frame(page);
  if (!f || (!f->displayBitmap && !f->fullBitmap)) return {};
  if (decoder_ && pageIndex(page) == current_ && !pageHandedOver_) return stage_.validRect();
  return {0, 0, f->width, f->height};
}

void ImageReader::finish(bool releaseIncomplete) {
  if (!decoder_) return;
  int reached = progress();
  imaging::DibImage& f = ensureFrame(current_);
  stage_.handOver(f);
  f.complete = true;
  if (request_.allPages) current_ = 0;
  stage_.end();
  damage_ = decoder_->damage();
  decoder_->end();
  decoder_.reset();
  finishedProgress_ = reached;
  if (reached < 10000 && releaseIncomplete) releaseAll();
  elapsedMs_ = static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_).count());
}

imaging::BitmapHandle ImageReader::dibSection(int page) const {
  const imaging::DibImage* f = frame(page);
  return f ? f->fullBitmap : nullptr;
}

imaging::BitmapHandle ImageReader::firstBitmap(int page) const {
  const imaging::DibImage* f = frame(page);
  if (!f) return nullptr;
  return f->displayBitmap ? f->displayBitmap : f->fullBitmap;
}

imaging::PaletteHandle ImageReader::palette(int page) const {
  const imaging::DibImage* f = frame(page);
  return f ? f->palette : nullptr;
}

bool ImageReader::rotate(imaging::QuarterTurns turn) {
  imaging::DibImage* f = frame(-1);
  if (decoder_ || !f) return fail(kImageInvalidOperation);
  return f->rotate(turn) ? true : fail(kImageInvalidOperation);
}

void ImageReader::releaseAll() {
  for (auto& f : frames_) f->releaseBitmaps();
  finishedProgress_ = 0;
}

void ImageReader::release(int page) {
  if (imaging::DibImage* f = frame(page)) f->releaseBitmaps();
  if (pageIndex(page) == current_) finishedProgress_ = 0;
}

void ImageReader::close() {
  finish(true);
  frames_.clear();  // each frame deletes the handles it owns
  identified_.reset();
  source_.reset();
  module_ = nullptr;
  kind_ = SourceKind::None;
  path_.clear();
  format_ = kFormatUnidentified;
  identifyError_ = kImageOk;
  pageCount_ = 0;
  current_ = 0;
  finishedProgress_ = 0;
}

bool ImageReader::adoptPackedDibs(const imaging::PackedDib* display, const imaging::PackedDib* full) {
  if (decoder_) return fail(kImageInvalidOperation);
  imaging::DibImage& f = ensureFrame(0);
  current_ = 0;
  if (!f.assignPacked(display, full)) return fail(kImageDisplayBitmap);
  finishedProgress_ = 10000;
  return true;
}

}  // namespace imagefile
