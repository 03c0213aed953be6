// Sectors of a pack that do not read, three ways an archivist meets them: a
// raw .bin whose unreadable sectors a ripper wrote as zeros (their sync
// fails), an .iso with the same sectors zeroed, and an undamaged .iso whose
// ddrescue map marks them bad. Each decodes to the same photo, only the
// sectors that do not read are lost, and the map's finished areas are trusted.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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
constexpr std::uint32_t kRawSector = 2352;

// Variance of the reference over the mean squared error, in dB.
double Snr(const Picture& reference, const Picture& picture) {
  double mean = 0, variance = 0, error = 0;
  for (std::uint8_t v : reference.bgr) mean += v;
  mean /= reference.bgr.size();
  for (std::size_t i = 0; i < reference.bgr.size(); ++i) {
    variance += (reference.bgr[i] - mean) * (reference.bgr[i] - mean);
    const double difference = double(reference.bgr[i]) - picture.bgr[i];
    error += difference * difference;
  }
  return error == 0 ? 999 : 10 * std::log10(variance / error);
}

void Overwrite(const std::string& path, std::uint64_t at, std::uint32_t size) {
  std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
  f.seekp(static_cast<std::streamoff>(at));
  const std::vector<char> zeros(size, 0);
  f.write(zeros.data(), size);
  ASSERT_TRUE(f.good()) << path;
}

std::uint32_t PackExtent(const std::string& image) {
  std::unique_ptr<pcdimage::DiscImage> disc;
  pcdimage::DirectoryEntry entry;
  std::string why;
  EXPECT_EQ(pcdimage::DiscImage::Open(image, disc, why), kPcdOk) << why;
  EXPECT_EQ(disc->Find("PHOTO_CD/IMAGES/IMG0001.PCD", entry, why), kPcdOk) << why;
  return entry.extent;
}

struct Decoded {
  Picture picture;
  imagefile::DecodeDamage damage;
};

Decoded Decode(const std::string& image, const std::string& pack = "/PHOTO_CD/IMAGES/IMG0001.PCD") {
  imagefile::ImageReader reader;
  reader.open(image + pack);
  Decoded d;
  d.picture = DecodeOpened(reader, 0, 0);
  d.damage = reader.damage();
  return d;
}

std::string Hex(std::uint64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
  return text;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

TEST(ReadErrors, UnreadableZeroedAndMappedSectorsGiveTheSamePhoto) {
  const AuthoredPhoto& photo = Authored("photo", 0, 5);
  const fs::path root = fs::path(photo.pack).parent_path().parent_path().parent_path();
  RequestedLevelScope level(5);
  TempDir dir;
  const std::string folder = dir.path().string(), iso = folder + "/zeroed.iso", bin = folder + "/unread.bin",
                    mapped = folder + "/mapped.iso";
  pcdmake::WriteDiscImage(root, iso, {});
  pcdmake::WriteDiscImage(root, bin, {true});
  fs::copy_file(iso, mapped);
  const Decoded clean = Decode(iso);
  ASSERT_EQ(clean.picture.height, 2048);

  // One sector each of BASE, of the 4BASE rows and of the 16BASE rows.
  const std::uint32_t lost[] = {pcd::kBaseOffset / pcd::kSectorSize + 50, 600, 1700};
  const std::uint32_t isoStart = PackExtent(iso), binStart = PackExtent(bin);
  std::string map = "# Mapfile. Created by GNU ddrescue\n0x0 + 1\n";
  std::uint64_t done = 0;
  for (std::uint32_t sector : lost) {
    Overwrite(iso, std::uint64_t{isoStart + sector} * pcd::kSectorSize, pcd::kSectorSize);
    Overwrite(bin, std::uint64_t{binStart + sector} * kRawSector, kRawSector);
    const std::uint64_t at = std::uint64_t{isoStart + sector} * pcd::kSectorSize;
    map += Hex(done) + " " + Hex(at - done) + " +\n" + Hex(at) + " 0x800 -\n";
    done = at + pcd::kSectorSize;
  }
  map += Hex(done) + " " + Hex(fs::file_size(mapped) - done) + " +\n";
  std::ofstream(folder + "/mapped.map") << map;

  const Decoded unread = Decode(bin), zeroed = Decode(iso), marked = Decode(mapped);
  const double snr[] = {Snr(clean.picture, unread.picture), Snr(clean.picture, zeroed.picture),
                        Snr(clean.picture, marked.picture)};
  std::printf("SNR against the undamaged photo: unreadable in .bin %.2f dB, zeroed in .iso %.2f dB, mapped %.2f dB\n",
              snr[0], snr[1], snr[2]);
  EXPECT_NEAR(snr[0], snr[1], 0.1);
  EXPECT_NEAR(snr[2], snr[0], 0.1);
  EXPECT_GT(snr[0], 40.0);
  EXPECT_NE(Joined(unread.damage.details).find("BASE: 1 sector unreadable, filled from BASE/4"), std::string::npos)
      << Joined(unread.damage.details);
  EXPECT_NE(Joined(marked.damage.details).find("BASE: 1 sector unreadable, filled from BASE/4"), std::string::npos)
      << Joined(marked.damage.details);
  EXPECT_NE(Joined(zeroed.damage.details).find("BASE: 1 sector read as zeros, filled from BASE/4"), std::string::npos)
      << Joined(zeroed.damage.details);

  // A map that marks every area finished vouches for the zeros: nothing is filled.
  const std::string vouched = folder + "/vouched.iso";
  fs::copy_file(iso, vouched);
  std::ofstream(folder + "/vouched.mapfile") << "0x0 + 1\n0x0 " << Hex(fs::file_size(iso)) << " +\n";
  const Decoded trusted = Decode(vouched);
  EXPECT_EQ(Joined(trusted.damage.details).find("sector"), std::string::npos) << Joined(trusted.damage.details);
  EXPECT_LT(Snr(clean.picture, trusted.picture), snr[1]);
}

}  // namespace

namespace {

// A pack cut to 12 KB holds part of BASE/16 and nothing above: the reader
// announces BASE/16, says it comes from a lower level, and shows grey where
// the file holds nothing rather than a colour.
TEST(ReadErrors, APackCutShortShowsOnlyTheLevelItHolds) {
  const AuthoredPhoto& photo = Authored("photo", 0, 5);
  std::ifstream in(photo.pack, std::ios::binary);
  Bytes bytes(12288);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  TempDir dir;
  imagefile::ImageReader reader;
  reader.open(dir.Write("IMG0001.PCD", bytes));
  RequestedLevelScope level(3);
  const Picture picture = DecodeOpened(reader, 0, 0);
  EXPECT_EQ(picture.width, 192);
  EXPECT_TRUE(reader.damage().lowerLevel);
  EXPECT_NE(Joined(reader.damage().details).find("BASE/16: 16 sectors past the end of the file, shown grey"),
            std::string::npos) << Joined(reader.damage().details);
  const std::uint8_t* last = picture.Pixel(191, 127);
  EXPECT_TRUE(last[0] == last[1] && last[1] == last[2]) << int(last[0]) << " " << int(last[1]) << " " << int(last[2]);
}

// A lost header sector: the photo decodes from its picture sectors as before,
// unturned, and the damage says so.
TEST(ReadErrors, APackWithoutItsHeaderShowsWhatItsPictureSectorsHold) {
  const AuthoredPhoto& photo = Authored("photo", 0, 5);
  RequestedLevelScope level(5);
  std::ifstream in(photo.pack, std::ios::binary);
  const Bytes original{std::istreambuf_iterator<char>(in), {}};
  const Decoded clean = Decode(photo.pack, "");
  struct Case {
    const char* name;
    std::size_t from, to;  // bytes zeroed
    bool unread;           // sector 1 marked unreadable instead
  } cases[] = {{"zeroed", 0x800, 0x1000, false}, {"version zeroed", 0x807, 0x809, false}, {"unreadable", 0, 0, true}};
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes copy = original;
    std::fill(copy.begin() + c.from, copy.begin() + c.to, 0);
    const std::string path = dir.Write(std::string(c.name) + "/IMG0001.PCD", copy);
    auto map = std::make_shared<PcdRescueMap>();
    map->unread = {{0x800, 0x1000}};
    map->end = copy.size();
    if (c.unread) PcdUseRescueMap(path, map);
    const Decoded d = Decode(path, "");
    PcdUseRescueMap(path, nullptr);
    EXPECT_EQ(d.picture.bgr, clean.picture.bgr);
    ASSERT_FALSE(d.damage.details.empty());
    EXPECT_EQ(d.damage.details[0], "header damaged; orientation unknown");
  }
}

}  // namespace
