// Cross-check with an independent Photo CD reader, ImageMagick, run as a
// black box on authored packs: at BASE, 4BASE and 16BASE our picture has its
// size and orientation, and our luma (the toolkit's LumaOnly output) follows
// its greyscale picture. Colour conversions differ between readers, so luma
// is compared by correlation. It does not apply the half turn of rotation
// code 2, so that picture is compared turned back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "../support/unique_temp.h"
#include "authored_photos.h"
#include "decode_test_util.h"
#include "image_io.h"

namespace {

const char kConvert[] = "/usr/bin/convert";
const char* const kScenes[] = {"harbour", "city", "mosaic", "page"};

// ImageMagick's greyscale decode of subimage `level`, top row first.
std::vector<double> ImageMagickGrey(const std::string& pack, int level, int& width, int& height) {
  const std::string out = test_support::UniqueTempPath("imagemagick-") + std::to_string(level) + ".ppm";
  const std::string command = std::string(kConvert) + " '" + pack + "[" + std::to_string(level) +
                              "]' -colorspace Gray '" + out + "' 2>/dev/null";
  std::vector<double> grey;
  pcdmake::RgbImage image;
  std::string error;
  const bool decoded = std::system(command.c_str()) == 0 && pcdmake::ReadImageFile(out, image, error);
  std::filesystem::remove(out);
  if (!decoded) return grey;
  width = image.width;
  height = image.height;
  for (std::size_t i = 0; i < image.pixels.size(); i += 3) grey.push_back(image.pixels[i]);
  return grey;
}

// Our luma of a level in display orientation, top row first.
std::vector<double> OurLuma(const std::string& path, int level) {
  ImagePack* raw = nullptr;
  std::vector<double> luma;
  if (PcdOpenImagePack(path.c_str(), raw) != kPcdOk) return luma;
  PackPtr pack(raw);
  if (PcdSetResolution(raw, level) != kPcdOk || PcdSetFormat(raw, static_cast<int>(OutputFormat::LumaOnly)) != kPcdOk)
    return luma;
  const Decoded d = DecodeRect(raw);
  if (d.status != kPcdOk) return luma;
  for (int y = 0; y < d.rows; ++y) luma.insert(luma.end(), d.Row(d.rows - 1 - y), d.Row(d.rows - 1 - y) + d.columns);
  return luma;
}

class ImageMagickCheck : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kConvert)) GTEST_SKIP() << kConvert << " (ImageMagick) is not installed";
  }
};
INSTANTIATE_TEST_SUITE_P(PhotoCdReader, ImageMagickCheck, ::testing::Range(0, 4));

TEST_P(ImageMagickCheck, SameSizeOrientationAndLuma) {
  const int rotation = GetParam();
  const AuthoredPhoto& photo = Authored(kScenes[rotation], rotation, 5);
  for (int level = 3; level <= 5; ++level) {
    int width = 0, height = 0;
    std::vector<double> theirs = ImageMagickGrey(photo.pack, level, width, height);
    ASSERT_FALSE(theirs.empty()) << "level " << level;
    if (rotation == 2) std::reverse(theirs.begin(), theirs.end());
    const Picture ours = DecodeWithReader(photo.pack, level);
    EXPECT_EQ(ours.width, width) << "level " << level;
    EXPECT_EQ(ours.height, height) << "level " << level;
    const double luma = Correlation(OurLuma(photo.pack, level), theirs);
    const double colour = Correlation(Luma(ours), theirs);
    std::cout << "  " << kScenes[rotation] << " rotation " << rotation << " level " << level << " (" << width
              << " x " << height << "): luma correlation " << luma << ", reader colour output " << colour << "\n";
    EXPECT_GE(luma, 0.99) << "level " << level;
    EXPECT_GE(colour, 0.97) << "level " << level;
  }
}

}  // namespace
