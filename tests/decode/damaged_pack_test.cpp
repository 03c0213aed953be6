// Damaged copies of a photograph-like pack that pcdmake wrote, decoded
// through the image reader at 16BASE: each gives the whole photo, says what
// it went around, and every row the damage spares equals the undamaged decode.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "authored_photos.h"
#include "decode_test_util.h"
#include "imagefile/image_reader.h"
#include "imagefile/requested_level.h"
#include "pcd_layout.h"

namespace {

struct Layout {
  std::size_t first16Base;  // first byte of the 16BASE rows
  std::size_t tables16Base;  // the 16BASE row table
};

Layout LayoutOf(const Bytes& f) {
  const std::size_t k = std::size_t{f[pcd::kAttributeOffset + pcd::kAttrKOffset]} << 8 | f[pcd::kAttributeOffset + pcd::kAttrKOffset + 1];
  return {(k + pcd::k16BaseFirstRowSectorDelta) * pcd::kSectorSize, (k + pcd::k16BaseRowTableSectorDelta) * pcd::kSectorSize};
}

void Zero(Bytes& f, std::size_t at, std::size_t length) { std::fill_n(f.begin() + at, std::min(length, f.size() - at), 0); }

struct Damage {
  const char* name;
  std::function<void(Bytes&, const Layout&)> change;
  const char* firstLine;  // how the damage report begins
  const char* cause;      // and the cause it names
  int firstRow;           // 16BASE rows above this one are untouched
  int maxRows;            // at most this many rows differ from the undamaged decode
  bool lowerLevel;
};

Picture Decode(const std::string& path, imagefile::DecodeDamage* damage) {
  imagefile::ImageReader reader;
  reader.open(path);
  Picture picture = DecodeOpened(reader, 0, 0, nullptr, 2);
  *damage = reader.damage();
  return picture;
}

TEST(DamagedPacks, EachGivesTheWholePhotoAndTheRowsItSparesAsBefore) {
  const AuthoredPhoto& photo = Authored("photo", 0, 5);
  RequestedLevelScope level(5);
  imagefile::DecodeDamage none;
  const Picture clean = Decode(photo.pack, &none);
  ASSERT_EQ(clean.height, 2048);
  EXPECT_FALSE(none.any());
  std::ifstream in(photo.pack, std::ios::binary);
  const Bytes original{std::istreambuf_iterator<char>(in), {}};

  constexpr std::size_t kBlock = 65536;
  const Damage damages[] = {
      {"16BASE block", [](Bytes& f, const Layout& l) { Zero(f, l.first16Base + 40 * kBlock, kBlock); },
       "16BASE: ", ": no sync", 1400, 40, false},
      {"4BASE block", [](Bytes& f, const Layout&) { Zero(f, 600 * pcd::kSectorSize, kBlock); },
       "4BASE: ", ": no sync", 1100, 160, false},
      {"BASE block", [](Bytes& f, const Layout&) { Zero(f, pcd::kBaseOffset + 160 * pcd::kSectorSize, kBlock); },
       "BASE: 32 sectors read as zeros, filled from BASE/4", "", 1000, 32 * 8 + 4, false},
      {"row table", [](Bytes& f, const Layout& l) { Zero(f, l.tables16Base, 2 * pcd::kSectorSize); },
       "16BASE row table unreadable", "", 2048, 0, false},
      {"code tables", [](Bytes& f, const Layout& l) { Zero(f, l.tables16Base, 3 * pcd::kSectorSize); },
       "16BASE code table unreadable", "", 0, 2048, true},
      {"cut", [](Bytes& f, const Layout&) { f.resize(4 << 20); }, "16BASE: ", ": past the end of the data", 0, 2048, false},
  };
  TempDir dir;
  for (const Damage& damage : damages) {
    Bytes copy = original;
    damage.change(copy, LayoutOf(copy));
    const std::string path = dir.Write(std::string(damage.name) + "/IMG0001.PCD", copy);
    imagefile::DecodeDamage found;
    const Picture picture = Decode(path, &found);
    ASSERT_EQ(picture.width, clean.width) << damage.name;
    ASSERT_EQ(picture.height, clean.height) << damage.name;
    EXPECT_TRUE(found.repaired) << damage.name;
    EXPECT_EQ(found.lowerLevel, damage.lowerLevel) << damage.name;
    ASSERT_FALSE(found.details.empty()) << damage.name;
    EXPECT_EQ(found.details[0].rfind(damage.firstLine, 0), 0u) << damage.name << ": " << found.details[0];
    EXPECT_NE(found.details[0].find(damage.cause), std::string::npos) << damage.name << ": " << found.details[0];
    const std::size_t rowBytes = static_cast<std::size_t>(clean.width) * 3;
    int differing = 0, first = clean.height;
    for (int y = 0; y < clean.height; ++y)
      if (!std::equal(clean.bgr.begin() + y * rowBytes, clean.bgr.begin() + (y + 1) * rowBytes, picture.bgr.begin() + y * rowBytes)) {
        ++differing;
        first = std::min(first, y);
      }
    EXPECT_GE(first, damage.firstRow) << damage.name;
    EXPECT_LE(differing, damage.maxRows) << damage.name;
  }
}

}  // namespace
