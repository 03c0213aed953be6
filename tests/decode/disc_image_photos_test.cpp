// The sample disc read from its disc images: every photo decodes through the
// image reader to the same pixels as from the folder, from the .iso and from
// the raw image whose files are interleaved with Form 2 sectors.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "authored_photos.h"

namespace {

const std::string kSample = LUMIVEXA_SOURCE_DIR "/build/sample-disc";

std::string PackPath(const std::string& root, int photo) {
  char name[64];
  std::snprintf(name, sizeof name, "/PHOTO_CD/IMAGES/IMG%04d.PCD", photo);
  return root + name;
}

TEST(SampleDiscImages, EveryPhotoDecodesAsFromTheFolder) {
  if (!std::filesystem::exists(kSample + ".cue")) GTEST_SKIP() << "sample disc images not built";
  for (int photo = 1; photo <= 24; ++photo) {
    SCOPED_TRACE(photo);
    const Picture folder = DecodeWithReader(PackPath(kSample, photo), 3);
    ASSERT_FALSE(folder.bgr.empty());
    EXPECT_EQ(DecodeWithReader(PackPath(kSample + ".cue", photo), 3).bgr, folder.bgr);
    EXPECT_EQ(DecodeWithReader(PackPath(kSample + ".iso", photo), 3).bgr, folder.bgr);
  }
  // 64BASE comes from the extension files of IPE, also inside the image.
  const Picture large = DecodeWithReader(PackPath(kSample, 4), 6, 3200, 2134);
  EXPECT_EQ(large.width, 3200);
  EXPECT_EQ(DecodeWithReader(PackPath(kSample + ".cue", 4), 6, 3200, 2134).bgr, large.bgr);
}

}  // namespace
