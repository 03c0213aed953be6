#include <gtest/gtest.h>

#include <cstring>

#include "image_pack.h"
#include "pcd_test_files.h"

namespace {

const char* kPackPath = "PHOTO_CD/IMAGES/IMG0001.PCD";

// Writes a pack (and optionally its INFO.IPE) and opens it.
struct OpenedPack {
  TempDir dir;
  ImagePack* pack = nullptr;
  PcdStatus status = kPcdOk;

  explicit OpenedPack(const PackFields& fields, const Bytes* infoIpe = nullptr) {
    dir.Write(kPackPath, ImagePackBytes(fields));
    if (infoIpe) dir.Write("PHOTO_CD/IPE/IMG0001/INFO.IPE", *infoIpe);
    status = PcdOpenImagePack(dir.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD").c_str(), pack);
  }
  ~OpenedPack() {
    if (pack) {
      EXPECT_EQ(PcdCloseImagePack(pack), kPcdOk);
    }
  }
};

PackFields WithAttributes(std::uint8_t attributeByte) {
  PackFields fields;
  fields.attributeByte = attributeByte;
  return fields;
}

std::uint16_t MaskOf(const ImagePack* pack, int* count = nullptr) {
  std::uint16_t mask = 0;
  int bits = 0;
  EXPECT_EQ(PcdGetResolutionMask(pack, mask, bits), kPcdOk);
  if (count) *count = bits;
  return mask;
}

TEST(ImagePack, OpensWithBaseDefaults) {
  OpenedPack opened(PackFields{});
  ASSERT_EQ(opened.status, kPcdOk);
  const ImagePack& pack = *opened.pack;
  EXPECT_EQ(pack.level, 3);
  EXPECT_EQ(pack.highestOwnLevel, 3);
  EXPECT_EQ(pack.format, OutputFormat::Rgb24);
  EXPECT_EQ(pack.bytesPerPixel, 3);
  EXPECT_EQ(pack.componentSpacing, 1);
  EXPECT_EQ(pack.outputWidth, 768);
  EXPECT_EQ(pack.outputHeight, 512);
  EXPECT_EQ(pack.rect.bottom, 512);
  EXPECT_EQ(pack.rect.right, 768);
  EXPECT_EQ(pack.extension, nullptr);
}

TEST(ImagePack, ResolutionClassSetsTheOwnLevels) {
  int count = 0;
  OpenedPack base(WithAttributes(0x00));
  EXPECT_EQ(MaskOf(base.pack, &count), 0x0F);
  EXPECT_EQ(count, 4);
  OpenedPack upTo4Base(WithAttributes(0x04));
  EXPECT_EQ(MaskOf(upTo4Base.pack, &count), 0x1F);
  EXPECT_EQ(count, 5);
  OpenedPack upTo16Base(WithAttributes(0x08 | 0x60));  // bits 5-6 are only kept
  EXPECT_EQ(MaskOf(upTo16Base.pack, &count), 0x3F);
  EXPECT_EQ(count, 6);
  EXPECT_EQ(upTo16Base.pack->attributeBits56, 3);
  OpenedPack invalid(WithAttributes(0x0C));
  EXPECT_EQ(invalid.status, kPcdBadVersion);
  EXPECT_EQ(invalid.pack, nullptr);
}

TEST(ImagePack, RotationCodeTurnsTheOutput) {
  const struct {
    std::uint8_t code;
    Orientation orientation;
    int width, height;
  } cases[] = {{0, 0, 1536, 1024}, {1, 4, 1024, 1536}, {2, 3, 1536, 1024}, {3, 7, 1024, 1536}};
  for (const auto& c : cases) {
    OpenedPack opened(WithAttributes(0x04 | c.code));
    ASSERT_EQ(opened.status, kPcdOk);
    ASSERT_EQ(PcdSetResolution(opened.pack, 4), kPcdOk);
    EXPECT_EQ(opened.pack->orientation, c.orientation);
    EXPECT_EQ(opened.pack->outputWidth, c.width) << int(c.code);
    EXPECT_EQ(opened.pack->outputHeight, c.height) << int(c.code);
    EXPECT_EQ(opened.pack->rect.right, c.width);
  }
}

TEST(ImagePack, InterleaveConvertsThe16BaseTableSector) {
  PackFields fields = WithAttributes(0x08);
  fields.k = 140;
  fields.n = 3;
  fields.interleave = 0x4A;  // 10 image sectors, then 4 audio sectors
  OpenedPack interleaved(fields);
  EXPECT_EQ(interleaved.pack->tableSector16Base, 100u);
  EXPECT_EQ(interleaved.pack->entryOffset16Base, 140u);

  fields.interleave = 0;
  OpenedPack plain(fields);
  EXPECT_EQ(plain.pack->tableSector16Base, 140u);

  fields.n = 0;  // no 16BASE data: no table
  OpenedPack without(fields);
  EXPECT_EQ(without.pack->tableSector16Base, 0u);
  EXPECT_EQ(without.pack->entryOffset16Base, 0u);

  fields.interleave = 0x40;  // audio sectors but no image sectors
  OpenedPack hostile(fields);
  EXPECT_EQ(hostile.status, kPcdBadSignature);
}

TEST(ImagePack, SetResolutionChecksTheLevel) {
  OpenedPack opened(WithAttributes(0x01));
  ASSERT_EQ(PcdSetResolution(opened.pack, 1), kPcdOk);
  const ImagePack before = *opened.pack;
  EXPECT_EQ(PcdSetResolution(opened.pack, 7), kPcdInvalidArgument);
  EXPECT_EQ(PcdSetResolution(opened.pack, -1), kPcdInvalidArgument);
  EXPECT_EQ(std::memcmp(&before, opened.pack, sizeof before), 0);
  EXPECT_EQ(PcdSetResolution(nullptr, 3), kPcdInvalidArgument);
}

TEST(ImagePack, LevelSizes) {
  int width = 0, height = 0;
  ASSERT_EQ(PcdGetLevelSize(6, width, height), kPcdOk);
  EXPECT_EQ(width, 6144);
  EXPECT_EQ(height, 4096);
  ASSERT_EQ(PcdGetLevelSize(0, width, height), kPcdOk);
  EXPECT_EQ(width, 96);
  EXPECT_EQ(height, 64);
  EXPECT_EQ(PcdGetLevelSize(7, width, height), kPcdInvalidArgument);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(height, 0);
}

TEST(ImagePack, HeaderFailures) {
  PackFields fields;
  fields.version = 0x0004;
  EXPECT_EQ(OpenedPack(fields).status, kPcdBadVersion);
  fields = PackFields{};
  fields.size = 3000;  // the IPI block is cut short
  EXPECT_EQ(OpenedPack(fields).status, kPcdReadFailed);

  TempDir dir;
  Bytes bytes = ImagePackBytes(PackFields{});
  bytes[0x800] = 'X';
  dir.Write("IMG0001.PCD", bytes);
  ImagePack* pack = nullptr;
  EXPECT_EQ(PcdOpenImagePack(dir.Join("IMG0001.PCD").c_str(), pack), kPcdBadSignature);
  EXPECT_EQ(PcdOpenImagePack(dir.Join("IMG0002.PCD").c_str(), pack), kPcdOpenFailed);
  EXPECT_EQ(PcdOpenImagePack("", pack), kPcdBadSignature);
  EXPECT_EQ(PcdAttachImagePack("x", nullptr, pack), kPcdInvalidArgument);
  EXPECT_EQ(pack, nullptr);
  EXPECT_EQ(PcdCloseImagePack(nullptr), kPcdInvalidArgument);
  std::uint16_t mask = 1;
  int count = 1;
  EXPECT_EQ(PcdGetResolutionMask(nullptr, mask, count), kPcdInvalidArgument);
}

TEST(ImagePack, ExtensionLevelFlagsExtendTheMask) {
  int count = 0;
  Bytes ipe = InfoIpeBytes(0x20, 0, 32, 48);  // 64BASE in the extension
  OpenedPack above16Base(WithAttributes(0x08), &ipe);
  ASSERT_EQ(above16Base.status, kPcdOk);
  ASSERT_NE(above16Base.pack->extension, nullptr);
  EXPECT_EQ(above16Base.pack->extension->levelFlags, 0x20);
  EXPECT_EQ(MaskOf(above16Base.pack, &count), 0x7F);
  EXPECT_EQ(count, 7);

  ipe = InfoIpeBytes(0x30, 0, 32, 48);  // no 4BASE: nothing above BASE counts
  EXPECT_EQ(MaskOf(OpenedPack(WithAttributes(0x00), &ipe).pack), 0x0F);

  ipe = InfoIpeBytes(0xF8, 40, 32, 48);  // every extension level
  OpenedPack all(WithAttributes(0x00), &ipe);
  EXPECT_EQ(MaskOf(all.pack, &count), 0x1FF);
  EXPECT_EQ(count, 9);
  EXPECT_EQ(all.pack->extension->textRecordPosition, 40u);
}

// Only the level flags and the level record are read; an INFO.IPE whose
// header or level record is not there is ignored and the pack keeps its own
// levels, whatever its text record position says.
TEST(ImagePack, InfoIpeThatDoesNotFitIsIgnored) {
  const Bytes ignored[] = {
      Bytes(29, 0),                              // header cut short
      InfoIpeBytes(0x18, 0, 40, 48),             // level record runs past the end
      InfoIpeBytes(0x18, 0, 0xFFFFFFFF, 48),
  };
  for (const Bytes& ipe : ignored) {
    OpenedPack opened(WithAttributes(0x04), &ipe);
    ASSERT_EQ(opened.status, kPcdOk);
    EXPECT_EQ(opened.pack->extension, nullptr);
    EXPECT_EQ(MaskOf(opened.pack), 0x1F);
  }
  const Bytes read[] = {
      InfoIpeBytes(0x18, 0, 12, 48),             // level record overlapping the header
      InfoIpeBytes(0x18, 48, 30, 48),            // text record past the end
      InfoIpeBytes(0x18, 20, 30, 48),            // text record inside the header
  };
  for (const Bytes& ipe : read) {
    OpenedPack opened(WithAttributes(0x04), &ipe);
    ASSERT_EQ(opened.status, kPcdOk);
    ASSERT_NE(opened.pack->extension, nullptr);
    EXPECT_EQ(MaskOf(opened.pack), 0x3F);
  }
}

}  // namespace
