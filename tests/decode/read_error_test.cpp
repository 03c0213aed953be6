// What a damaged disc leaves of a photo, through the image reader: sectors
// that do not read, a pack cut short, a lost header sector.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "authored_photos.h"
#include "decode_test_util.h"
#include "disc_image.h"
#include "disc_image_writer.h"
#include "imagefile/image_reader.h"
#include "imagefile/requested_level.h"
#include "pcd_layout.h"
#include "rescue_map.h"

namespace {

namespace fs = std::filesystem;

// Variance of the reference over the mean squared error, in dB.
double Snr(const Picture& reference, const Picture& picture) {
  double mean = 0, variance = 0, error = 0;
  for (std::uint8_t v : reference.bgr) mean += v / double(reference.bgr.size());
  for (std::size_t i = 0; i < reference.bgr.size(); ++i) {
    variance += (reference.bgr[i] - mean) * (reference.bgr[i] - mean);
    error += (double(reference.bgr[i]) - picture.bgr[i]) * (double(reference.bgr[i]) - picture.bgr[i]);
  }
  return error == 0 ? 999 : 10 * std::log10(variance / error);
}

struct Decoded {
  Picture picture;
  std::string damage;  // the report's lines
  bool lowerLevel;
};

Decoded Decode(const std::string& path) {
  imagefile::ImageReader reader;
  reader.open(path);
  Decoded d{DecodeOpened(reader, 0, 0), "", reader.damage().lowerLevel};
  for (const std::string& line : reader.damage().details) d.damage += line + "\n";
  return d;
}

void Zero(const std::string& path, std::uint64_t at, std::size_t size) {
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  f.seekp(static_cast<std::streamoff>(at)).write(std::string(size, '\0').data(), static_cast<std::streamsize>(size));
}

// One sector each of BASE, the 4BASE and the 16BASE rows does not read: in a
// raw .bin (a ripper's zeros, whose sync fails), zeroed in an .iso, and
// marked bad in the ddrescue map of an undamaged .iso. Each gives the same
// photo; a map that marks the zeros finished vouches for them.
TEST(ReadErrors, UnreadableZeroedAndMappedSectorsGiveTheSamePhoto) {
  const AuthoredPhoto& photo = Authored("photo", 0, 5);
  RequestedLevelScope level(5);
  TempDir dir;
  const std::string folder = dir.path().string(), iso = folder + "/zeroed.iso", bin = folder + "/unread.bin";
  pcdmake::WriteDiscImage(fs::path(photo.pack).parent_path().parent_path().parent_path(), iso, {});
  pcdmake::WriteDiscImage(fs::path(photo.pack).parent_path().parent_path().parent_path(), bin, {true});
  for (const char* copy : {"/mapped.iso", "/vouched.iso"}) fs::copy_file(iso, folder + copy);
  const std::string pack = "/PHOTO_CD/IMAGES/IMG0001.PCD";
  const Decoded clean = Decode(iso + pack);
  std::unique_ptr<pcdimage::DiscImage> image;
  pcdimage::DirectoryEntry entry;
  std::string why;
  ASSERT_EQ(pcdimage::DiscImage::Open(iso, image, why), kPcdOk) << why;
  ASSERT_EQ(image->Find(pack, entry, why), kPcdOk) << why;
  std::ofstream map(folder + "/mapped.map");
  map << "0 + 1\n";
  std::uint64_t done = 0;
  for (std::uint64_t sector : {pcd::kBaseOffset / pcd::kSectorSize + 50, 600u, 1700u}) {
    const std::uint64_t at = (entry.extent + sector) * pcd::kSectorSize;
    Zero(iso, at, pcd::kSectorSize);
    Zero(bin, (entry.extent + sector) * 2352, 2352);
    map << done << " " << at - done << " +\n" << at << " 2048 -\n";
    done = at + pcd::kSectorSize;
  }
  map << done << " " << fs::file_size(iso) - done << " +\n";
  map.close();
  std::ofstream(folder + "/vouched.map") << "0 + 1\n0 " << fs::file_size(iso) << " +\n";
  Zero(folder + "/vouched.iso", (entry.extent + pcd::kBaseOffset / pcd::kSectorSize + 50) * pcd::kSectorSize,
       pcd::kSectorSize);

  const Decoded unread = Decode(bin + pack), zeroed = Decode(iso + pack), mapped = Decode(folder + "/mapped.iso" + pack);
  const double snr[] = {Snr(clean.picture, unread.picture), Snr(clean.picture, zeroed.picture),
                        Snr(clean.picture, mapped.picture)};
  std::printf("SNR against the undamaged photo: unreadable in .bin %.2f dB, zeroed in .iso %.2f dB, mapped %.2f dB\n",
              snr[0], snr[1], snr[2]);
  // Lost rows of zeroed data are concealed from the rows around them, which
  // rows that do not read are not yet: within 1.5 dB until they are.
  EXPECT_NEAR(snr[0], snr[1], 1.5);
  EXPECT_NEAR(snr[2], snr[0], 0.1);
  EXPECT_GT(snr[0], 40.0);
  EXPECT_NE(unread.damage.find("BASE: 1 sector unreadable, filled from BASE/4"), std::string::npos) << unread.damage;
  EXPECT_NE(mapped.damage.find("BASE: 1 sector unreadable, filled from BASE/4"), std::string::npos) << mapped.damage;
  EXPECT_NE(zeroed.damage.find("BASE: 1 sector read as zeros, filled from BASE/4"), std::string::npos) << zeroed.damage;
  EXPECT_EQ(Decode(folder + "/vouched.iso" + pack).damage, "");
}

// A pack cut to 12 KB holds part of BASE/16 and nothing above: the reader
// offers BASE/16 only, from a lower level, grey where the file holds nothing.
TEST(ReadErrors, APackCutShortShowsOnlyTheLevelItHolds) {
  std::ifstream in(Authored("photo", 0, 5).pack, std::ios::binary);
  Bytes bytes(12288);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  TempDir dir;
  RequestedLevelScope level(3);
  const Decoded cut = Decode(dir.Write("IMG0001.PCD", bytes));
  EXPECT_EQ(cut.picture.width, 192);
  EXPECT_TRUE(cut.lowerLevel);
  EXPECT_NE(cut.damage.find("BASE/16: 16 sectors past the end of the file, shown grey"), std::string::npos) << cut.damage;
  const std::uint8_t* last = cut.picture.Pixel(191, 127);
  EXPECT_TRUE(last[0] == last[1] && last[1] == last[2]);
}

// A lost header sector (zeroed, its version zeroed, or unreadable): the photo
// decodes from its picture sectors as before, and the damage says so.
TEST(ReadErrors, APackWithoutItsHeaderShowsWhatItsPictureSectorsHold) {
  const AuthoredPhoto& photo = Authored("photo", 0, 5);
  RequestedLevelScope level(5);
  std::ifstream in(photo.pack, std::ios::binary);
  const Bytes original{std::istreambuf_iterator<char>(in), {}};
  const Decoded clean = Decode(photo.pack);
  TempDir dir;
  // Bytes zeroed: the sector, the version word; none, but the sector does not read.
  for (const std::pair<std::size_t, std::size_t> zeroed : {std::pair{0x800, 0x800}, std::pair{0x807, 2}, std::pair{0, 0}}) {
    Bytes copy = original;
    for (std::size_t i = 0; i < zeroed.second; ++i) copy[zeroed.first + i] = 0;
    const std::string path = dir.Write(std::to_string(zeroed.second) + "/IMG0001.PCD", copy);
    auto map = std::make_shared<PcdRescueMap>();
    map->unread = {{pcd::kIpiOffset, pcd::kIpiOffset + pcd::kSectorSize}};
    map->end = copy.size();
    PcdUseRescueMap(path, zeroed.second ? nullptr : map);
    const Decoded d = Decode(path);
    EXPECT_EQ(d.picture.bgr, clean.picture.bgr) << zeroed.second;
    EXPECT_EQ(d.damage.rfind("header damaged; orientation unknown\n", 0), 0u) << d.damage;
  }
}

}  // namespace
