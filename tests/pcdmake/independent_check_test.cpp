// Reads authored packs with ImageMagick's Photo CD reader, run as a black box,
// and compares what it decodes with the source pictures. Readers convert
// colours differently, so pictures are compared as equalised grey images.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>

#include "author.h"
#include "grey_measure.h"
#include "image_io.h"
#include "scenes.h"

namespace pcdmake {
namespace {
namespace fs = std::filesystem;
using pcdmake_test::Correlation;
using pcdmake_test::EqualisedGrey;
using pcdmake_test::Psnr;

const char kReader[] = "/usr/bin/convert";

struct Photo {
  std::string name;
  int width, height;  // as rendered, in display orientation
  int rotation;
  int topLevel;
  int imageSectors = 1, audioSectors = 0;
};

// Sizes, rotations and level limits exercised; numbered IMG0001 on.
const std::vector<Photo> kPhotos = {
    {"meadow", 3072, 2048, 0, 5},
    {"city", 2048, 3072, 1, 5},
    {"page", 2048, 3072, 3, 4},
    {"mosaic", 3072, 2048, 2, 4},
    {"chart", 3072, 2048, 0, 3},
    {"harbour", 3072, 2048, 0, 5, 10, 4},
};

class IndependentCheck : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!fs::exists(kReader)) return;
    // ctest runs each test case as its own process, possibly side by side.
    dir_ = new fs::path(fs::temp_directory_path() / ("pcdmake-independent-check-" + std::to_string(std::random_device()())));
    fs::remove_all(*dir_);
    fs::create_directories(*dir_);
    sources_ = new std::vector<RgbImage>;
    DiscJob job;
    job.outDir = dir_->string();
    for (std::size_t i = 0; i < kPhotos.size(); ++i) {
      const Photo& p = kPhotos[i];
      RgbImage picture;
      ASSERT_TRUE(RenderScene(p.name, p.width, p.height, static_cast<unsigned>(i + 1), picture));
      const fs::path ppm = *dir_ / (p.name + ".ppm");
      ASSERT_TRUE(WritePpm(ppm.string(), picture));
      sources_->push_back(std::move(picture));
      PhotoJob photo;
      photo.source = ppm.string();
      photo.rotation = p.rotation;
      photo.topLevel = p.topLevel;
      photo.pack.imageSectors = p.imageSectors;
      photo.pack.audioSectors = p.audioSectors;
      job.photos.push_back(photo);
    }
    std::ostringstream log;
    AuthorDisc(job, log);
  }
  static void TearDownTestSuite() {
    if (dir_) fs::remove_all(*dir_);
    delete dir_;
    delete sources_;
    dir_ = nullptr;
  }
  void SetUp() override {
    if (!fs::exists(kReader)) GTEST_SKIP() << kReader << " (ImageMagick) is not installed: independent check skipped";
  }

  // Decodes subimage `index` of photo n; false when the reader fails.
  static bool Decode(int n, int index, RgbImage& out) {
    char pack[32];
    std::snprintf(pack, sizeof pack, "IMG%04d.PCD", n);
    const fs::path in = *dir_ / "PHOTO_CD" / "IMAGES" / pack;
    const fs::path result = *dir_ / ("decoded-" + std::to_string(n) + "-" + std::to_string(index) + ".ppm");
    const std::string command = std::string(kReader) + " '" + in.string() + "[" + std::to_string(index) + "]' '" +
                                result.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return false;
    std::string error;
    return ReadImageFile(result.string(), out, error);
  }

  // Equalised grey PSNR of a decode against a reference of the same size.
  static double Compare(const RgbImage& decoded, const RgbImage& reference, double* correlation = nullptr) {
    const auto a = EqualisedGrey(decoded);
    const auto b = EqualisedGrey(reference);
    if (correlation) *correlation = Correlation(a, b);
    return Psnr(a, b);
  }

  // The source reduced to a level as the writer reduces it (in stored
  // orientation), turned as the reader shows it: codes 1 and 3, not 2.
  static RgbImage Reference(std::size_t photo, int level) {
    const int rotation = kPhotos[photo].rotation;
    RgbImage stored = TurnClockwise((*sources_)[photo], rotation);
    for (int l = 5; l > level; --l) {
      RgbImage half(stored.width / 2, stored.height / 2);
      for (int c = 0; c < 3; ++c) {
        Plane p(stored.width, stored.height);
        for (std::size_t i = 0; i < p.samples.size(); ++i) p.samples[i] = stored.pixels[3 * i + c];
        const Plane r = Reduce2x(p);
        for (std::size_t i = 0; i < r.samples.size(); ++i) half.pixels[3 * i + c] = r.samples[i];
      }
      stored = std::move(half);
    }
    return rotation % 2 ? TurnClockwise(stored, 4 - rotation) : stored;
  }

  static fs::path* dir_;
  static std::vector<RgbImage>* sources_;
};
fs::path* IndependentCheck::dir_ = nullptr;
std::vector<RgbImage>* IndependentCheck::sources_ = nullptr;

TEST_F(IndependentCheck, EveryLevelHasTheRightSizeOrientationAndPicture) {
  const double kMinimumPsnr = 28;  // equalised grey dB; colour conversions differ, detail must not
  for (std::size_t i = 0; i < kPhotos.size(); ++i) {
    const Photo& p = kPhotos[i];
    for (int level = 3; level <= 5; ++level) {
      RgbImage decoded;
      const bool ok = Decode(static_cast<int>(i + 1), level, decoded);
      if (level > p.topLevel) {
        EXPECT_FALSE(ok) << p.name << ": the reader decoded level " << level << " that the pack does not hold";
        continue;
      }
      ASSERT_TRUE(ok) << p.name << " level " << level;
      const int w = 3 << (level + 5), h = 1 << (level + 6);
      EXPECT_EQ(decoded.width, p.rotation % 2 ? h : w) << p.name << " level " << level;
      EXPECT_EQ(decoded.height, p.rotation % 2 ? w : h) << p.name << " level " << level;
      double correlation = 0;
      const double psnr = Compare(decoded, Reference(i, level), &correlation);
      std::cout << "  " << p.name << " rotation " << p.rotation << " level " << level << ": " << psnr
                << " dB, correlation " << correlation << "\n";
      EXPECT_GE(psnr, kMinimumPsnr) << p.name << " level " << level;
      EXPECT_GE(correlation, 0.99) << p.name << " level " << level;
    }
  }
}

TEST_F(IndependentCheck, ResidualsCarryTheDetailThatBaseLacks) {
  for (std::size_t i : {0u, 1u, 5u}) {
    RgbImage base, top;
    ASSERT_TRUE(Decode(static_cast<int>(i + 1), 3, base));
    ASSERT_TRUE(Decode(static_cast<int>(i + 1), 5, top));
    const RgbImage source = Reference(i, 5);
    const double fromBase = Compare(Resample(base, top.width, top.height), source);
    const double from16Base = Compare(top, source);
    std::cout << "  " << kPhotos[i].name << ": 16BASE " << from16Base << " dB, BASE enlarged " << fromBase << " dB\n";
    EXPECT_GE(from16Base, fromBase + 6) << kPhotos[i].name;
  }
}

}  // namespace
}  // namespace pcdmake
