// Identification: every format of the table by its header or extension, and
// the order in which the checks run (the first match wins).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../support/unique_temp.h"
#include "bmp_builder.h"
#include "imagefile/format_module.h"
#include "imagefile/image_reader.h"

using namespace imagefile;

namespace {

std::vector<std::uint8_t> bytes(std::size_t size, std::initializer_list<std::pair<std::size_t, std::string>> parts) {
  std::vector<std::uint8_t> data(size, 0);
  for (const auto& part : parts) std::memcpy(&data[part.first], part.second.data(), part.second.size());
  return data;
}

int identifyMemory(const std::vector<std::uint8_t>& data) {
  ImageReader reader;
  reader.open(data.data(), data.size());
  return reader.format();
}

int identifyFile(const std::vector<std::uint8_t>& data, const std::string& name) {
  std::string path = test_support::UniqueTempPath(name);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                              static_cast<std::streamsize>(data.size()));
  ImageReader reader;
  reader.open(path);
  int format = reader.format();
  reader.close();
  std::remove(path.c_str());
  return format;
}

std::vector<std::uint8_t> placeableWmf() {
  std::vector<std::uint8_t> data = bytes(64, {{0, "\xD7\xCD\xC6\x9A"}, {6, "\x10\x00\x20\x00"}});
  unsigned checksum = 0;
  for (int i = 0; i < 20; i += 2) checksum ^= static_cast<unsigned>(data[i] | data[i + 1] << 8);
  data[20] = static_cast<std::uint8_t>(checksum), data[21] = static_cast<std::uint8_t>(checksum >> 8);
  return data;
}

}  // namespace

TEST(Identification, EveryFormatOfTheTableByItsHeader) {
  std::vector<std::uint8_t> pcx = bytes(128, {{0, "\x0A\x05\x01\x08"}});
  pcx[65] = 3;  // 8 bits x 3 planes
  std::vector<std::uint8_t> sgi = bytes(512, {{0, std::string("\x01\xDA\x01\x01\x00\x03", 6)}, {10, std::string("\x00\x03", 2)}});
  std::vector<std::uint8_t> tga = bytes(64, {{2, "\x02"}, {12, std::string("\x10\x00\x10\x00\x18", 5)}});
  const struct {
    int format;
    std::vector<std::uint8_t> data;
  } cases[] = {
      {kFormatBmp, bmp_builder::make(4, 4, 24, [](int, int) { return 0u; })},
      {kFormatGif, bytes(32, {{0, "GIF89a"}})},
      {kFormatPhotoCd, bytes(4096, {{2048, "PCD_IPI"}})},
      {kFormatPcx, pcx},
      {kFormatPcx, bytes(16, {{0, "\xB1\x68\xDE\x3A"}})},
      {kFormatPict, bytes(200, {{0, "\x53\x80\xF6\x34"}, {8, "PICT"}})},
      {kFormatPng, bytes(64, {{0, "\x89PNG\r\n\x1A\n"}})},
      {kFormatPhotoshop, bytes(64, {{0, "8BPS"}})},
      {kFormatSgi, sgi},
      {kFormatTga, tga},
      {kFormatEmf, bytes(88, {{40, " EMF"}})},
      {kFormatWmf, placeableWmf()},
      {kFormatIff, bytes(64, {{0, "FORM"}, {8, "ILBM"}})},
      {kFormatIff, bytes(64, {{0, "FOR4"}, {8, "CIMG"}})},
      {kFormatTiff, bytes(16, {{0, "MM"}})},
      {kFormatJpeg, bytes(16, {{0, "\xFF\xD8\xFF"}})},
  };
  for (const auto& c : cases) EXPECT_EQ(identifyMemory(c.data), c.format) << c.format;

  EXPECT_EQ(identifyMemory(bytes(64, {{0, "FORM"}, {8, "AIFF"}})), kFormatUnrecognised);
  EXPECT_EQ(identifyMemory(bytes(88, {{0, "\xD7\xCD\xC6\x9A"}})), kFormatUnrecognised);  // bad checksum
  EXPECT_EQ(identifyMemory(bytes(3000, {{2048, "PCD"}})), kFormatUnrecognised);        // too short for a pack
  EXPECT_EQ(identifyMemory(bytes(24, {{0, "8BPS"}})), kFormatUnrecognised);            // too short
}

TEST(Identification, ExtensionsCountOnlyForPaths) {
  std::vector<std::uint8_t> pix = bytes(64, {{0, std::string("\x00\x10\x00\x10\x00\x00\x00\x00\x00\x18", 10)}});
  EXPECT_EQ(identifyFile(pix, "picture.PIX"), kFormatAliasPix);
  EXPECT_EQ(identifyMemory(pix), kFormatUnrecognised);
  std::vector<std::uint8_t> unknown = bytes(64, {{0, "????"}});
  EXPECT_EQ(identifyFile(unknown, "drawing.wmf"), kFormatWmf);
  EXPECT_EQ(identifyFile(unknown, "camera.kdc"), kFormatKodakCamera);
  EXPECT_EQ(identifyFile(unknown, "camera.kdc.txt"), kFormatUnrecognised);
}

TEST(Identification, TheFirstMatchInTableOrderWins) {
  // A pack whose first byte is PCX's: Photo CD comes first.
  std::vector<std::uint8_t> pack = bytes(4096, {{0, "\x0A\x05\x01\x08"}, {2048, "PCD_IPI"}});
  pack[65] = 1;
  EXPECT_EQ(identifyMemory(pack), kFormatPhotoCd);
  // TIFF's "MM" with the camera extension is a camera picture; JPEG named .wmf is a metafile.
  EXPECT_EQ(identifyFile(bytes(16, {{0, "MM"}}), "x.kdc"), kFormatKodakCamera);
  EXPECT_EQ(identifyFile(bytes(16, {{0, "\xFF\xD8\xFF"}}), "x.wmf"), kFormatWmf);
}
