#include "author.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ostream>
#include <stdexcept>

#include "pcd_layout.h"
#include "extension_writer.h"
#include "image_io.h"
#include "scenes.h"

namespace pcdmake {
namespace {

// Scales to fill w x h and crops the overhang evenly, keeping the aspect.
RgbImage Fill(const RgbImage& src, int w, int h) {
  const double scale = std::max(static_cast<double>(w) / src.width, static_cast<double>(h) / src.height);
  const int cw = std::min(src.width, static_cast<int>(w / scale + 0.5));
  const int ch = std::min(src.height, static_cast<int>(h / scale + 0.5));
  if (cw == src.width && ch == src.height) return Resample(src, w, h);
  RgbImage crop(cw, ch);
  const int x0 = (src.width - cw) / 2, y0 = (src.height - ch) / 2;
  for (int y = 0; y < ch; ++y) std::copy_n(src.Pixel(x0, y0 + y), 3 * cw, crop.Pixel(0, y));
  return Resample(crop, w, h);
}

}  // namespace

SourcePicture LoadSource(const PhotoJob& photo) {
  const int level = photo.topLevel == pcd::kLevel64Base ? pcd::kLevel64Base : pcd::kLevel16Base;
  const int w = pcd::LevelWidth(level), h = pcd::LevelHeight(level);
  SourcePicture out;
  if (photo.source.rfind("scene:", 0) == 0) {
    const std::string rest = photo.source.substr(6);
    const auto colon = rest.find(':');
    const unsigned seed = colon == std::string::npos ? 1u : static_cast<unsigned>(std::strtoul(rest.c_str() + colon + 1, nullptr, 10));
    out.rotation = photo.rotation < 0 ? 0 : photo.rotation;
    const bool portrait = out.rotation % 2 == 1;
    if (!RenderScene(rest.substr(0, colon), portrait ? h : w, portrait ? w : h, seed, out.display))
      throw std::runtime_error(photo.source + ": unknown scene");
    return out;
  }
  RgbImage picture;
  std::string error;
  if (!ReadImageFile(photo.source, picture, error)) throw std::runtime_error(photo.source + ": " + error);
  const bool portrait = picture.height > picture.width;
  out.rotation = photo.rotation < 0 ? (portrait ? 1 : 0) : photo.rotation;
  if (portrait != (out.rotation % 2 == 1))
    throw std::runtime_error(photo.source + ": rotation " + std::to_string(out.rotation) + " needs a " +
                             (portrait ? "landscape" : "portrait") + " picture");
  out.display = portrait ? Fill(picture, h, w) : Fill(picture, w, h);
  return out;
}

RgbImage StoredPicture(const SourcePicture& source) {
  // Code 1 shows the stored picture turned counter-clockwise, so it is stored
  // turned clockwise; code 3 the other way; code 2 upside down.
  return TurnClockwise(source.display, source.rotation);
}

void AuthorDisc(const DiscJob& job, std::ostream& log) {
  DiscWriter disc(job.outDir, job.style, job.replace);
  std::map<std::string, std::string> rights;
  int number = 0;
  for (const PhotoJob& photo : job.photos) {
    const auto start = std::chrono::steady_clock::now();
    const SourcePicture source = LoadSource(photo);
    const PhotoLevels levels = BuildLevels(StoredPicture(source), photo.topLevel);
    PackOptions pack = photo.pack;
    pack.rotation = source.rotation;
    if (!photo.rightsName.empty()) {
      pack.info.rightsName = job.style.File(photo.rightsName);
      rights[photo.rightsName] = job.rightsText;
    }
    const std::vector<std::uint8_t> file = WriteImagePack(levels, pack);
    ExtensionFiles extension;
    if (photo.topLevel == pcd::kLevel64Base) extension = WriteExtension(levels, job.style.lowerCase, pack.longCodes);
    disc.AddPhoto(file, RowPairs(levels.base16), AttributeByte(source.rotation, levels.topLevel),
                  photo.topLevel == pcd::kLevel64Base ? &extension : nullptr);
    ++number;
    if (job.verbose) {
      const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
      log << "IMG" << number << ": " << photo.source << ", rotation " << source.rotation << ", level "
          << photo.topLevel << ", " << file.size() / 1024 << " KB, " << ms.count() << " ms\n";
    }
  }
  disc.Finish(job.fields, rights);
  if (!job.isoImage.empty()) WriteDiscImage(job.outDir, job.isoImage, ImageLayout{});
  ImageLayout raw = job.imageLayout;
  raw.raw = true;
  if (!job.rawImage.empty()) WriteDiscImage(job.outDir, job.rawImage, raw);
}

}  // namespace pcdmake
