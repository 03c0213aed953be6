#include "authored_photos.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <tuple>

#include "image.h"
#include "imagefile/image_reader.h"
#include "imagefile/requested_level.h"
#include "imaging/gdi_backend.h"
#include "imaging/pixel_ops.h"
#include "pcd_test_files.h"

namespace {

TempDir& Folder() {
  static TempDir dir;
  return dir;
}

pcdmake::RgbImage Reduced(const pcdmake::RgbImage& image) {
  pcdmake::RgbImage half(image.width / 2, image.height / 2);
  for (int c = 0; c < 3; ++c) {
    pcdmake::Plane plane(image.width, image.height);
    for (std::size_t i = 0; i < plane.samples.size(); ++i) plane.samples[i] = image.pixels[3 * i + c];
    const pcdmake::Plane r = pcdmake::Reduce2x(plane);
    for (std::size_t i = 0; i < r.samples.size(); ++i) half.pixels[3 * i + c] = r.samples[i];
  }
  return half;
}

}  // namespace

const AuthoredPhoto& Authored(const std::string& scene, int rotation, int topLevel, bool longCodes) {
  static std::map<std::tuple<std::string, int, int, bool>, std::unique_ptr<AuthoredPhoto>> photos;
  auto& slot = photos[{scene, rotation, topLevel, longCodes}];
  if (slot) return *slot;
  const std::string name =
      scene + "-" + std::to_string(rotation) + "-" + std::to_string(topLevel) + (longCodes ? "-long" : "");
  pcdmake::DiscJob job;
  job.outDir = Folder().Join(name);
  pcdmake::PhotoJob photo;
  photo.source = "scene:" + scene + ":" + std::to_string(rotation + 1);
  photo.rotation = rotation;
  photo.topLevel = topLevel;
  photo.pack.longCodes = longCodes;
  job.photos.push_back(photo);
  std::ostringstream log;
  pcdmake::AuthorDisc(job, log);
  slot = std::make_unique<AuthoredPhoto>();
  slot->pack = job.outDir + "/PHOTO_CD/IMAGES/IMG0001.PCD";
  slot->source = pcdmake::LoadSource(photo);
  slot->topLevel = topLevel;
  return *slot;
}

Picture DecodeOpened(imagefile::ImageReader& reader, int targetWidth, int targetHeight, int* error, int threads) {
  imagefile::DecodeRequest request;
  request.threads = threads;
  request.targetWidth = targetWidth;
  request.targetHeight = targetHeight;
  request.displayDepth = 24;
  request.makeDisplayBitmap = false;
  request.keepFullBitmap = true;
  Picture picture;
  bool ok = reader.beginDecode(request);
  while (ok && reader.progress() < 10000) ok = reader.step(64) == 1;
  if (error) *error = reader.error();
  imaging::DibSectionInfo info;
  if (!ok || !imaging::describeDibSection(reader.dibSection(), info)) return picture;
  const imaging::PixelView view = imaging::makeView(info.header, info.bits);
  if (view.bitCount != 24) return picture;
  picture.width = view.width;
  picture.height = view.height;
  picture.bgr.resize(static_cast<std::size_t>(view.width) * view.height * 3);
  for (int y = 0; y < view.height; ++y)
    std::copy_n(view.row(y), view.width * 3, &picture.bgr[static_cast<std::size_t>(y) * view.width * 3]);
  reader.finish(true);
  return picture;
}

Picture DecodeWithReader(const std::string& path, int requestedLevel, int targetWidth, int targetHeight) {
  const int saved = g_requestedPcdLevel;
  g_requestedPcdLevel = requestedLevel;
  imagefile::ImageReader reader;
  reader.open(path);
  int error = 0;
  Picture picture = DecodeOpened(reader, targetWidth, targetHeight, &error);
  g_requestedPcdLevel = saved;
  EXPECT_FALSE(picture.bgr.empty()) << path << ": error " << error;
  return picture;
}

Picture SourceAt(const AuthoredPhoto& photo, int level) {
  const int top = photo.topLevel == 6 ? 6 : 5;
  pcdmake::RgbImage stored = pcdmake::StoredPicture(photo.source);
  for (int l = top; l > level; --l) stored = Reduced(stored);
  const pcdmake::RgbImage shown = pcdmake::TurnClockwise(stored, (4 - photo.source.rotation) % 4);
  Picture out;
  out.width = shown.width;
  out.height = shown.height;
  out.bgr.resize(shown.pixels.size());
  for (std::size_t i = 0; i < shown.pixels.size(); i += 3) {
    out.bgr[i] = shown.pixels[i + 2];
    out.bgr[i + 1] = shown.pixels[i + 1];
    out.bgr[i + 2] = shown.pixels[i];
  }
  return out;
}

double Psnr(const Picture& a, const Picture& b) {
  if (a.bgr.size() != b.bgr.size() || a.bgr.empty()) return 0;
  double sum = 0;
  for (std::size_t i = 0; i < a.bgr.size(); ++i) {
    const double d = static_cast<double>(a.bgr[i]) - b.bgr[i];
    sum += d * d;
  }
  const double mse = sum / static_cast<double>(a.bgr.size());
  return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

double Correlation(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size() || a.empty()) return 0;
  double ma = 0, mb = 0;
  for (std::size_t i = 0; i < a.size(); ++i) ma += a[i], mb += b[i];
  ma /= static_cast<double>(a.size());
  mb /= static_cast<double>(b.size());
  double ab = 0, aa = 0, bb = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    ab += (a[i] - ma) * (b[i] - mb);
    aa += (a[i] - ma) * (a[i] - ma);
    bb += (b[i] - mb) * (b[i] - mb);
  }
  return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

std::vector<double> Luma(const Picture& picture) {
  std::vector<double> out(static_cast<std::size_t>(picture.width) * picture.height);
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = 0.114 * picture.bgr[3 * i] + 0.587 * picture.bgr[3 * i + 1] + 0.299 * picture.bgr[3 * i + 2];
  return out;
}
