#include "cli/photo_decode.h"

#include <iterator>

#include "cli/pack_info.h"
#include "imagefile/image_errors.h"
#include "imagefile/photocd_colour.h"
#include "imagefile/requested_level.h"
#include "imaging/dib_format.h"
#include "imaging/dib_ops.h"
#include "imaging/gamma.h"
#include "imaging/gdi_backend.h"
#include "photocd/damage_report.h"
#include "photocd/disc_image.h"
#include "photocd/image_decode.h"
#include "photocd/image_pack.h"

namespace cli {

namespace {


struct PackCloser {
  void operator()(ImagePack* pack) const { PcdCloseImagePack(pack); }
};
using PackPtr = std::unique_ptr<ImagePack, PackCloser>;

std::string pcdError(const char* what, PcdStatus status) { return std::string(what) + ": " + PcdStatusText(status); }

void applyGamma(imaging::BitmapHandle bitmap, double gamma) {
  if (gamma == 1.0) return;
  imaging::GammaTable table;
  table.set(gamma);
  imaging::DibSectionInfo info;
  if (!imaging::describeDibSection(bitmap, info)) return;
  std::size_t stride = imaging::dibStride(info.header.width, 24);
  for (int row = 0; row < imaging::absHeight(info.header); ++row)
    table.apply24(info.bits + stride * static_cast<std::size_t>(row), static_cast<std::size_t>(info.header.width));
}

// The whole picture at the pack's current level through the toolkit, into a
// bottom-up section (the toolkit's orientation 0 writes bottom-up rows).
// Rolled-off highlights come from the toolkit's own output curve; clipped ones
// from its raw PhotoYCC converted with the image reader's colour tables, so a
// photo has the same tone at every level with either setting.
imaging::BitmapHandle decodeWithToolkit(ImagePack* pack, Highlights highlights, int threads, std::string& error) {
  const bool clip = highlights == Highlights::Clip;
  PcdStatus status = PcdSetFormat(pack, static_cast<int>(clip ? OutputFormat::RawYcc24 : OutputFormat::Rgb24));
  if (status == kPcdOk) status = PcdSetDecodeThreads(pack, threads);
  if (status != kPcdOk) {
    error = pcdError("output format", status);
    return nullptr;
  }
  imaging::DibHeader header = imaging::makeDibHeader(pack->outputWidth, pack->outputHeight, 24, true, 0);
  imaging::BitmapHandle bitmap = imaging::createDibSection(header, nullptr);
  imaging::DibSectionInfo info;
  if (!bitmap || !imaging::describeDibSection(bitmap, info)) {
    error = "out of memory";
    imaging::deleteBitmap(bitmap);
    return nullptr;
  }
  const std::size_t stride = imaging::dibStride(header.width, 24);
  status = PcdReadRect(pack, nullptr, info.bits, static_cast<std::ptrdiff_t>(stride));
  if (status != kPcdOk) {
    error = pcdError("decoding", status);
    imaging::deleteBitmap(bitmap);
    return nullptr;
  }
  if (clip) {
    static const imagefile::PcdReaderColour colour;
    for (int row = 0; row < imaging::absHeight(header); ++row)
      colour.convertPixels(info.bits + stride * static_cast<std::size_t>(row), header.width);
  }
  return bitmap;
}

bool decodeWithReader(imagefile::ImageReader& reader, double gamma, int threads, std::string& error) {
  imagefile::DecodeRequest request;
  request.threads = threads;
  request.bottomUp = true;
  request.makeDisplayBitmap = false;
  request.keepFullBitmap = true;
  request.displayDepth = 24;
  request.gamma = gamma;
  request.useDdb = false;
  bool ok = reader.beginDecode(request);
  int rowsPerStep = reader.width() / 200 < 20 ? 20 - reader.width() / 200 : 1;
  while (ok && reader.progress() < 10000) ok = reader.step(rowsPerStep) == 1;
  reader.finish(true);
  if (!ok || !reader.dibSection()) {
    error = imagefile::errorText(reader.error() ? reader.error() : imagefile::kImageGeneralFailure);
    return false;
  }
  return true;
}

// What a recognised format is called, by its code in the reader's table.
const char* formatName(int format) {
  static const char* const kNames[] = {"JPEG", "GIF", "BMP", "Targa", "PCX", "TIFF", "Photo CD", "PNG",
                                       "Kodak digital camera", "Windows metafile", "IFF", "Photoshop", "PICT",
                                       "SGI", "Alias PIX", "enhanced metafile"};
  return format >= 0 && format < static_cast<int>(std::size(kNames)) ? kNames[format] : "unknown";
}

// True when the reader has a decoder for the recognised format.
bool decodable(int format) {
  for (const imagefile::FormatModule& module : imagefile::builtinFormatModules())
    if (module.id == format) return module.createDecoder != nullptr;
  return false;
}

// Why a file inside a disc image cannot be opened (it lies past the image's
// end, the image holds no such file); false for other paths and files that open.
bool discImageProblem(const std::string& path, std::string& why) {
  std::string image, inside;
  if (!pcdimage::SplitImagePath(path, image, inside)) return false;
  std::unique_ptr<pcdimage::DiscImage> disc;
  pcdimage::DirectoryEntry entry;
  return pcdimage::DiscImage::Open(image, disc, why) != kPcdOk || disc->Find(inside, entry, why) != kPcdOk;
}

}  // namespace

std::string whyNotAPack(const std::string& path) {
  std::string why;
  if (discImageProblem(path, why)) return why;
  imagefile::ImageReader reader;
  reader.open(path);
  if (reader.format() < 0) return imagefile::errorText(reader.error());
  if (reader.format() != imagefile::kFormatPhotoCd)
    return std::string("recognised as ") + formatName(reader.format()) + ", not a Photo CD image pack";
  ImagePack* pack = nullptr;
  const PcdStatus status = PcdOpenImagePack(path.c_str(), pack);
  if (status != kPcdOk) return pcdError("image pack", status);
  PcdCloseImagePack(pack);
  return {};
}

DecodedPhoto::~DecodedPhoto() { imaging::deleteBitmap(owned_); }

bool DecodedPhoto::rotate(imaging::QuarterTurns turn) {
  if (turn.none()) return true;
  imaging::BitmapHandle turned = imaging::rotate(bitmap(), turn);
  if (!turned) return false;
  imaging::deleteBitmap(owned_);
  owned_ = turned;
  reader_.reset();
  return true;
}

int chooseLevel(unsigned levelMask, int wanted) {
  for (int level = wanted; level >= 1; --level)
    if (levelMask & (1u << level)) return level;
  return 1;
}

bool decodePhoto(const std::string& path, const DecodeSettings& settings, DecodedPhoto& out, std::string& error) {
  auto reader = std::make_unique<imagefile::ImageReader>();
  reader->open(path);
  out.photoCd = reader->format() == imagefile::kFormatPhotoCd;
  if (!out.photoCd) {
    if (reader->format() < 0) {
      error = whyNotAPack(path);
      return false;
    }
    if (!decodable(reader->format())) {
      error = std::string("recognised as ") + formatName(reader->format()) + ", which this converter cannot read";
      return false;
    }
    if (!decodeWithReader(*reader, settings.gamma, settings.threads, error)) return false;
    out.reader_ = std::move(reader);
    return true;
  }

  ImagePack* opened = nullptr;
  PcdStatus status = PcdOpenImagePack(path.c_str(), opened);
  if (status != kPcdOk) {
    error = pcdError("image pack", status);
    return false;
  }
  PackPtr pack(opened);
  out.hasInfo = PcdGetImageInfo(pack.get(), out.info) == kPcdOk;
  std::uint16_t mask = 0;
  int count = 0;
  PcdGetResolutionMask(pack.get(), mask, count);
  out.level = chooseLevel(mask, settings.level);
  // A level the pack offers but cannot read (a damaged or foreign extension,
  // a pack cut short) gives way to the next lower one that can be read.
  const int wanted = out.level;
  std::string firstProblem;
  for (std::string problem; !(problem = levelProblem(pack.get(), out.level)).empty();) {
    if (firstProblem.empty()) firstProblem = problem;
    const int lower = chooseLevel(mask, out.level - 1);
    if (lower == out.level) {
      error = std::string("no level can be read (") + firstProblem + ")";
      return false;
    }
    out.level = lower;
  }
  // A level whose decode fails all the same gives way to the next lower one too.
  for (;;) {
    PcdClearDamage(pack.get());
    status = PcdSetResolution(pack.get(), out.level);
    if (status != kPcdOk) {
      error = pcdError("level", status);
      return false;
    }
    out.owned_ = decodeWithToolkit(pack.get(), settings.highlights, settings.threads, error);
    const int lower = chooseLevel(mask, out.level - 1);
    if (out.owned_ || lower == out.level) break;
    if (firstProblem.empty()) firstProblem = error;
    out.level = lower;
  }
  if (!out.owned_) return false;
  error.clear();
  if (out.level != wanted)
    out.note = std::string(levelName(wanted)) + " cannot be read (" + firstProblem + "); " + levelName(out.level) +
               " written instead";
  PcdDamageReport damage;
  if (PcdGetDamage(pack.get(), damage) == kPcdOk) {
    out.repairs = PcdDamageTexts(damage);
    if (damage.levels[out.level].unreadable) out.lowerLevel = true;
  }
  out.lowerLevel = out.lowerLevel || out.level != wanted;
  applyGamma(out.owned_, settings.gamma);
  return true;
}

}  // namespace cli
