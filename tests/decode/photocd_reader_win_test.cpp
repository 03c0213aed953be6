// The image reader on the sample disc through drive paths under Windows: the
// Win32 file layer and the extension lookup on D:\ paths, the toolkit levels
// against the toolkit's own decode, and the 8- and 16-bit display bitmaps
// drawn through GDI against the 24-bit decode of the same photo.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "imagefile/image_reader.h"
#include "imagefile/requested_level.h"
#include "imaging/gdi_backend.h"
#include "imaging/pixel_ops.h"
#include "photocd/image_decode.h"
#include "photocd/rescue_map.h"

namespace {

const char kImages[] = "D:\\PHOTO_CD\\IMAGES\\";

std::string PackPath(int photo) {
  char name[16];
  std::snprintf(name, sizeof name, "IMG%04d.PCD", photo);
  return kImages + std::string(name);
}

bool SampleDiscPresent() { return GetFileAttributesA(PackPath(1).c_str()) != INVALID_FILE_ATTRIBUTES; }

#define SKIP_WITHOUT_SAMPLE_DISC()                                                                   \
  if (!SampleDiscPresent())                                                                          \
  GTEST_SKIP() << "D:\\PHOTO_CD is missing: build the sample_disc target of the native build and run " \
                  "through scripts/wine-env.sh"

// Pixels top row first, three bytes (blue, green, red) each.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> bgr;
};

Picture ReadSection(imaging::BitmapHandle bitmap) {
  Picture picture;
  imaging::DibSectionInfo info;
  if (!imaging::describeDibSection(bitmap, info)) return picture;
  const imaging::PixelView view = imaging::makeView(info.header, info.bits);
  if (view.bitCount != 24) return picture;
  picture.width = view.width;
  picture.height = view.height;
  for (int y = 0; y < view.height; ++y) picture.bgr.insert(picture.bgr.end(), view.row(y), view.row(y) + 3 * view.width);
  return picture;
}

// Decodes the whole photo into the box, highest level allowed `level`.
bool Decode(imagefile::ImageReader& reader, const std::string& path, imagefile::DecodeRequest request, int level) {
  const int saved = g_requestedPcdLevel;
  g_requestedPcdLevel = level;
  reader.open(path);
  request.useDdb = false;
  bool ok = reader.beginDecode(request);
  while (ok && reader.progress() < 10000) ok = reader.step(64) == 1;
  if (ok) reader.finish(false);
  g_requestedPcdLevel = saved;
  return ok;
}

Picture DecodeFull(const std::string& path, int boxWidth, int boxHeight, int level) {
  imagefile::DecodeRequest request;
  request.targetWidth = boxWidth;
  request.targetHeight = boxHeight;
  request.displayDepth = 24;
  request.makeDisplayBitmap = false;
  request.keepFullBitmap = true;
  imagefile::ImageReader reader;
  if (!Decode(reader, path, request, level)) {
    ADD_FAILURE() << path << ": error " << reader.error();
    return {};
  }
  return ReadSection(reader.dibSection());
}

// The toolkit's own decode of a level, in the pack's orientation, top row first.
Picture ToolkitLevel(const std::string& path, int level) {
  Picture out;
  ImagePack* pack = nullptr;
  EXPECT_EQ(PcdOpenImagePack(path.c_str(), pack), kPcdOk) << path;
  if (!pack) return out;
  std::vector<std::uint8_t> pixels;
  if (PcdSetResolution(pack, level) == kPcdOk) {
    out.width = pack->outputWidth;
    out.height = pack->outputHeight;
    const std::size_t stride = static_cast<std::size_t>(out.width) * 3;
    pixels.resize(stride * out.height);
    EXPECT_EQ(PcdReadRect(pack, nullptr, pixels.data(), static_cast<std::ptrdiff_t>(stride)), kPcdOk);
    for (int y = out.height - 1; y >= 0; --y) out.bgr.insert(out.bgr.end(), &pixels[y * stride], &pixels[y * stride] + stride);
  }
  PcdCloseImagePack(pack);
  return out;
}

double MeanAbsoluteError(const Picture& a, const Picture& b) {
  if (a.bgr.size() != b.bgr.size() || a.bgr.empty()) return 255;
  double sum = 0;
  for (std::size_t i = 0; i < a.bgr.size(); ++i) sum += std::abs(a.bgr[i] - b.bgr[i]);
  return sum / static_cast<double>(a.bgr.size());
}

// Means of 4 x 4 blocks: dithering keeps the local mean, not each pixel.
Picture BlockMeans(const Picture& p) {
  Picture out;
  out.width = p.width / 4;
  out.height = p.height / 4;
  for (int by = 0; by < out.height; ++by)
    for (int bx = 0; bx < out.width; ++bx)
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int y = 0; y < 4; ++y)
          for (int x = 0; x < 4; ++x) sum += p.bgr[((by * 4 + y) * p.width + bx * 4 + x) * 3 + c];
        out.bgr.push_back(static_cast<std::uint8_t>((sum + 8) / 16));
      }
  return out;
}

// Spread of the pixel values, so that a blank or flat picture does not pass.
bool HasContent(const Picture& p) {
  int low = 255, high = 0;
  for (std::uint8_t v : p.bgr) low = std::min<int>(low, v), high = std::max<int>(high, v);
  return high - low > 100;
}

struct Level {
  int photo, boxWidth, boxHeight, toolkitLevel;
};

TEST(PhotoCdReaderWin, DrivePathsDecodeEveryLevelLikeTheToolkit) {
  SKIP_WITHOUT_SAMPLE_DISC();
  // Photo 1 is upright, photo 3 turned a quarter (shown standing), photo 6
  // upside down, photo 7 interleaved with other sectors.
  const Level levels[] = {{1, 768, 512, 3},   {1, 1536, 1024, 4}, {1, 3072, 2048, 5}, {3, 512, 768, 3},
                          {3, 1024, 1536, 4}, {6, 1536, 1024, 4}, {7, 1536, 1024, 4}};
  for (const Level& l : levels) {
    const std::string path = PackPath(l.photo);
    SCOPED_TRACE(path + " level " + std::to_string(l.toolkitLevel));
    const Picture picture = DecodeFull(path, l.boxWidth, l.boxHeight, 6);
    ASSERT_EQ(picture.width, l.boxWidth);
    ASSERT_EQ(picture.height, l.boxHeight);
    EXPECT_TRUE(HasContent(picture));
    const Picture toolkit = ToolkitLevel(path, l.toolkitLevel);
    ASSERT_EQ(toolkit.width, l.boxWidth);
    ASSERT_EQ(toolkit.height, l.boxHeight);
    if (l.toolkitLevel >= 4) {
      EXPECT_TRUE(picture.bgr == toolkit.bgr);
    } else {
      // BASE goes through the reader's own colour conversion, which lands
      // some ten levels off the toolkit's; a turned or shifted picture lands
      // much further.
      const double error = MeanAbsoluteError(picture, toolkit);
      std::cout << "  photo " << l.photo << " BASE mean absolute error against the toolkit: " << error << "\n";
      EXPECT_LT(error, 14.0);
    }
  }
}

TEST(PhotoCdReaderWin, SixtyFourBaseComesFromTheExtensionFolderOnTheDisc) {
  SKIP_WITHOUT_SAMPLE_DISC();
  const std::string path = PackPath(4);
  const Picture picture = DecodeFull(path, 0, 0, 6);
  ASSERT_EQ(picture.width, 6144);
  ASSERT_EQ(picture.height, 4096);
  // Without the extension allowed the same pack stops at 16BASE.
  EXPECT_EQ(DecodeFull(path, 0, 0, 5).width, 3072);

  ImagePack* pack = nullptr;
  ASSERT_EQ(PcdOpenImagePack(path.c_str(), pack), kPcdOk);
  ASSERT_EQ(PcdSetResolution(pack, 6), kPcdOk);
  const std::size_t stride = 6144 * 3;
  std::vector<std::uint8_t> rows(stride * 16);
  for (int first : {0, 2000, 4080}) {
    const OutputRect rect{static_cast<std::int16_t>(first), 0, static_cast<std::int16_t>(first + 16), 6144};
    ASSERT_EQ(PcdReadRect(pack, &rect, rows.data(), static_cast<std::ptrdiff_t>(stride)), kPcdOk);
    for (int y = 0; y < 16; ++y)
      EXPECT_EQ(std::memcmp(&picture.bgr[(first + y) * stride], &rows[(15 - y) * stride], stride), 0) << first + y;
  }
  PcdCloseImagePack(pack);
}

// Draws a display bitmap with GDI into a 24-bit DIB section, through the
// reader's palette when it made one.
Picture DrawnThroughGdi(imaging::BitmapHandle bitmap, imaging::PaletteHandle palette, int width, int height) {
  Picture out;
  HDC screen = GetDC(nullptr);
  HDC source = CreateCompatibleDC(screen);
  HDC target = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP canvas = CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (source && target && canvas) {
    HGDIOBJ oldSource = SelectObject(source, reinterpret_cast<HBITMAP>(bitmap));
    HGDIOBJ oldTarget = SelectObject(target, canvas);
    HPALETTE oldPalette = nullptr;
    if (palette) {
      oldPalette = SelectPalette(target, reinterpret_cast<HPALETTE>(palette), FALSE);
      RealizePalette(target);
    }
    EXPECT_NE(oldSource, nullptr) << "GDI refused to select the display bitmap";
    EXPECT_TRUE(BitBlt(target, 0, 0, width, height, source, 0, 0, SRCCOPY));
    GdiFlush();
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    out.width = width;
    out.height = height;
    const auto* p = static_cast<const std::uint8_t*>(bits);
    for (int y = 0; y < height; ++y) out.bgr.insert(out.bgr.end(), p + y * stride, p + y * stride + 3 * width);
    if (palette) SelectPalette(target, oldPalette, FALSE);
    SelectObject(target, oldTarget);
    SelectObject(source, oldSource);
  }
  if (canvas) DeleteObject(canvas);
  if (target) DeleteDC(target);
  if (source) DeleteDC(source);
  return out;
}

struct Reduction {
  const char* name;
  int displayDepth, dither8;
};

TEST(PhotoCdReaderWin, ReducedDisplayBitmapsDrawCloseToTheFullDecode) {
  SKIP_WITHOUT_SAMPLE_DISC();
  const std::string path = PackPath(3);
  const Picture reference = DecodeFull(path, 512, 768, 6);
  ASSERT_EQ(reference.width, 512);

  const Reduction reductions[] = {{"ordered cube", 8, 1},
                                  {"Floyd-Steinberg cube", 8, 2},
                                  {"two-pass", 8, 3},
                                  {"two-pass with diffusion", 8, 4},
                                  {"5-5-5 ordered", 16, 1}};
  for (const Reduction& r : reductions) {
    SCOPED_TRACE(r.name);
    imagefile::DecodeRequest request;
    request.targetWidth = 512;
    request.targetHeight = 768;
    request.displayDepth = r.displayDepth;
    request.dither8 = r.dither8;
    imagefile::ImageReader reader;
    ASSERT_TRUE(Decode(reader, path, request, 6)) << "error " << reader.error();

    DIBSECTION section = {};
    ASSERT_EQ(GetObjectA(reinterpret_cast<HBITMAP>(reader.firstBitmap()), sizeof section, &section), int{sizeof section});
    EXPECT_EQ(section.dsBmih.biBitCount, r.displayDepth);
    EXPECT_NE(section.dsBm.bmBits, nullptr);
    EXPECT_EQ(section.dsBm.bmWidth, 512);
    EXPECT_EQ(section.dsBm.bmHeight, 768);
    if (r.displayDepth == 8) {
      // The palette's colours lead the colour table (GDI may report the
      // table padded to 256 entries).
      ASSERT_NE(reader.palette(), nullptr);
      HDC dc = CreateCompatibleDC(nullptr);
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HBITMAP>(reader.firstBitmap()));
      RGBQUAD table[256];
      const UINT tableCount = GetDIBColorTable(dc, 0, 256, table);
      SelectObject(dc, old);
      DeleteDC(dc);
      PALETTEENTRY entries[256];
      const UINT paletteCount = GetPaletteEntries(reinterpret_cast<HPALETTE>(reader.palette()), 0, 256, entries);
      EXPECT_GE(paletteCount, 200u);
      ASSERT_GE(tableCount, paletteCount);
      int differing = 0;
      for (UINT i = 0; i < paletteCount; ++i)
        differing += table[i].rgbRed != entries[i].peRed || table[i].rgbGreen != entries[i].peGreen ||
                     table[i].rgbBlue != entries[i].peBlue;
      EXPECT_EQ(differing, 0);
    }

    const Picture drawn = DrawnThroughGdi(reader.firstBitmap(), reader.palette(), 512, 768);
    if (r.displayDepth == 8) {
      // GDI draws each index as its colour table entry.
      imaging::DibSectionInfo info;
      ASSERT_TRUE(imaging::describeDibSection(reader.firstBitmap(), info));
      const imaging::PixelView view = imaging::makeView(info.header, info.bits);
      int misdrawn = 0;
      for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 512; ++x) {
          const imaging::RgbQuad& c = info.colours[imaging::getPixel(view, x, y)];
          const std::uint8_t* d = &drawn.bgr[(y * 512 + x) * 3];
          misdrawn += d[0] != c.blue || d[1] != c.green || d[2] != c.red;
        }
      EXPECT_EQ(misdrawn, 0);
    }
    const double error = MeanAbsoluteError(drawn, reference);
    const double blockError = MeanAbsoluteError(BlockMeans(drawn), BlockMeans(reference));
    std::cout << "  " << r.name << ": mean absolute error " << error << ", of 4 x 4 block means " << blockError << "\n";
    EXPECT_TRUE(HasContent(drawn));
    EXPECT_LT(error, r.dither8 <= 2 ? 20.0 : 8.0);
    EXPECT_LT(blockError, 6.0);
  }
}

}  // namespace

// A copy of a pack read through a map that marks one BASE and one 4BASE
// sector unreadable: only those sectors are lost, the BASE one filled from
// BASE/4, and the photo stays close to the undamaged one.
TEST(PhotoCdReaderWin, SectorsThatDoNotReadAreLostAlone) {
  SKIP_WITHOUT_SAMPLE_DISC();
  char folder[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
  const std::string copy = std::string(folder) + "lumivexa-unread.pcd";
  ASSERT_TRUE(CopyFileA(PackPath(1).c_str(), copy.c_str(), FALSE));
  auto map = std::make_shared<PcdRescueMap>();
  map->unread = {{(96 + 100) * 2048, (96 + 101) * 2048}, {500 * 2048, 501 * 2048}};
  map->end = 1u << 30;
  PcdUseRescueMap(copy, map);
  const Picture clean = DecodeFull(PackPath(1), 1536, 1024, 4), damaged = DecodeFull(copy, 1536, 1024, 4);
  imagefile::ImageReader reader;
  imagefile::DecodeRequest request;
  request.makeDisplayBitmap = false;
  ASSERT_TRUE(Decode(reader, copy, request, 4));
  std::string details;
  for (const std::string& line : reader.damage().details) details += line + "\n";
  PcdUseRescueMap(copy, nullptr);
  DeleteFileA(copy.c_str());
  EXPECT_NE(details.find("BASE: 1 sector unreadable, filled from BASE/4"), std::string::npos) << details;
  EXPECT_NE(details.find("sectors unreadable"), std::string::npos) << details;
  EXPECT_FALSE(reader.damage().lowerLevel) << details;
  EXPECT_LT(MeanAbsoluteError(clean, damaged), 1.0);
}
