// Setting and removing the wallpaper under Wine with the sample disc on D:; the
// desktop values are read back through the registry and the bitmap from its file.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "desktop/wallpaper_win.h"
#include "imagefile/image_reader.h"
#include "imaging/gdi_backend.h"
#include "resources/command_ids.h"
#include "tests/browse/browse_test_support.h"
#include "tests/support/address_space_fill_win.h"
#include "tests/support/dialog_hook_win.h"
#include "tests/support/progress_hook_win.h"

namespace {

constexpr char kDesktopKey[] = "Control Panel\\desktop";
const char* const kValues[] = {"Wallpaper", "TileWallpaper", "PrevWallpaper", "PrevTileWallpaper"};
constexpr char kPhoto1[] = "D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD";

// A desktop value; "<missing>" when there is none.
std::string DesktopValue(const char* name) {
  char text[MAX_PATH + 1] = "";
  DWORD size = sizeof text;
  HKEY key = nullptr;
  bool found = RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_READ, &key) == ERROR_SUCCESS &&
               RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) == ERROR_SUCCESS;
  if (key) RegCloseKey(key);
  return found ? text : "<missing>";
}

void SetDesktopValue(const char* name, const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  if (value == "<missing>")
    RegDeleteValueA(key, name);
  else
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

// A picture decoded through the program's own reader at up to the target size
// (0: its own), blue-green-red values top row first; empty when it cannot be read.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Picture Decode(const std::string& path, int targetWidth = 0, int targetHeight = 0) {
  imagefile::ImageReader reader;
  reader.open(path);
  imagefile::DecodeRequest request;
  request.targetWidth = targetWidth;
  request.targetHeight = targetHeight;
  request.useDdb = false;
  bool ok = reader.beginDecode(request);
  while (ok && reader.progress() < 10000) ok = reader.step(reader.displayedHeight()) == 1;
  reader.finish(true);
  imaging::DibSectionInfo info;
  Picture picture;
  if (!ok || !imaging::describeDibSection(reader.firstBitmap(), info) || info.header.bitCount != 24) return picture;
  picture.width = info.header.width;
  picture.height = info.header.height < 0 ? -info.header.height : info.header.height;
  const std::size_t stride = (picture.width * 3 + 3) & ~3;
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* row = info.bits + stride * (info.header.height > 0 ? picture.height - 1 - y : y);
    for (int x = 0; x < picture.width; ++x) picture.pixels.push_back(row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16);
  }
  return picture;
}

// The desktop values and the wallpaper file as they were before a test.
class WallpaperTest : public BrowseWindowTest {
 protected:
  void SetUp() override {
    BrowseWindowTest::SetUp();
    for (const char* name : kValues) saved_.push_back(DesktopValue(name));
    file_ = FileBytes(WallpaperFilePath());
  }
  void TearDown() override {
    for (std::size_t i = 0; i < saved_.size(); ++i) SetDesktopValue(kValues[i], saved_[i]);
    std::string wallpaper = saved_[0];
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, &wallpaper[0], SPIF_UPDATEINIFILE);
    if (file_.empty()) DeleteFileA(WallpaperFilePath().c_str());
    BrowseWindowTest::TearDown();
  }
  void Command(int id) { SendMessageA(window_.hwnd(), WM_COMMAND, id, 0); }

  std::vector<std::string> saved_;
  std::vector<std::uint8_t> file_;
};

TEST_F(WallpaperTest, BrowseWindowSetsTheFocusedPhotoTwiceKeepingTheFirstPreviousAndRemovesIt) {
  SetDesktopValue("Wallpaper", "C:\\windows\\earlier.bmp");
  SetDesktopValue("TileWallpaper", "0");
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  LVITEMA state = {};
  state.stateMask = state.state = LVIS_FOCUSED | LVIS_SELECTED;
  SendMessageA(window_.list(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));

  Command(CMD_SET_WALLPAPER_TILED);  // Ctrl+Shift+W
  EXPECT_EQ(WallpaperFilePath(), DesktopValue("Wallpaper"));
  EXPECT_EQ("1", DesktopValue("TileWallpaper"));
  EXPECT_EQ("C:\\windows\\earlier.bmp", DesktopValue("PrevWallpaper"));
  EXPECT_EQ("0", DesktopValue("PrevTileWallpaper"));
  Picture picture = Decode(WallpaperFilePath());
  EXPECT_EQ(1024, picture.width);  // the 3 x 2 photo fitted into the 1024 x 768 screen
  EXPECT_EQ(683, picture.height);

  Command(CMD_SET_WALLPAPER);  // Ctrl+W: the program's own file is no earlier wallpaper
  EXPECT_EQ("0", DesktopValue("TileWallpaper"));
  EXPECT_EQ("C:\\windows\\earlier.bmp", DesktopValue("PrevWallpaper"));
  EXPECT_EQ("0", DesktopValue("PrevTileWallpaper"));

  Command(CMD_REMOVE_WALLPAPER);
  EXPECT_EQ("C:\\windows\\earlier.bmp", DesktopValue("Wallpaper"));
  EXPECT_EQ("0", DesktopValue("TileWallpaper"));
}

TEST_F(WallpaperTest, RemovingWithoutAnEarlierSetInstallsNone) {
  SetDesktopValue("PrevWallpaper", "<missing>");
  SetDesktopValue("PrevTileWallpaper", "<missing>");
  EXPECT_TRUE(RemoveWallpaper(GetModuleHandleA(nullptr), nullptr));
  EXPECT_EQ("(none)", DesktopValue("Wallpaper"));
  EXPECT_EQ("0", DesktopValue("TileWallpaper"));
}

TEST_F(WallpaperTest, AViewerTurnedBy90WritesThePhotoTurnedALeftQuarterAtScreenHeight) {
  ASSERT_TRUE(SetPhotoAsWallpaper(GetModuleHandleA(nullptr), nullptr, kPhoto1, desktop::RotationFlags(90)));
  // The same decode unturned: the target is the screen turned, 768 x 1024.
  Picture source = Decode(kPhoto1, 768, 1024);
  ASSERT_EQ(768, source.width);
  ASSERT_EQ(512, source.height);
  Picture turned = Decode(WallpaperFilePath());
  ASSERT_EQ(512, turned.width);
  ASSERT_EQ(768, turned.height);  // the screen's height
  // Turned counter-clockwise, the photo's right edge becomes the top.
  for (auto [x, y] : {std::pair{0, 0}, {511, 0}, {0, 767}, {511, 767}, {170, 384}})
    EXPECT_EQ(source.at(767 - y, x), turned.at(x, y)) << x << "," << y;
}

TEST_F(WallpaperTest, APhotoThatCannotBeTurnedIsReportedAndLeavesTheDesktopAlone) {
  const std::string wallpaper = DesktopValue("Wallpaper");
  std::string message;
  std::unique_ptr<AddressSpaceFill> fill;
  DialogHook answer([&](HWND box) {
    if (GetDlgItem(box, IDC_PROGRESS_BAR)) return;
    fill.reset();
    message = DialogHook::MessageText(box);
    DialogHook::Press(box, IDOK);
  });
  {
    // Once decoded, no room is left for the turned picture.
    ProgressHook decoded(10000, [&](HWND) { fill = std::make_unique<AddressSpaceFill>(1 << 19); });
    EXPECT_FALSE(SetPhotoAsWallpaper(GetModuleHandleA(nullptr), nullptr, kPhoto1, desktop::RotationFlags(90)));
    ASSERT_TRUE(decoded.fired());
  }
  EXPECT_EQ("Not enough memory to turn the image.", message);
  EXPECT_EQ(wallpaper, DesktopValue("Wallpaper"));
}

TEST_F(WallpaperTest, AFailedWriteKeepsTheOldFileAndTheDesktopValues) {
  ASSERT_TRUE(SetPhotoAsWallpaper(GetModuleHandleA(nullptr), nullptr, kPhoto1, 0));
  const std::vector<std::uint8_t> before = FileBytes(WallpaperFilePath());
  const std::string wallpaper = DesktopValue("Wallpaper"), previous = DesktopValue("PrevWallpaper");
  // The new bitmap's temporary name is taken by a folder: the write fails.
  const std::string blocker = WallpaperFilePath() + ".new";
  ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
  std::string message;
  {
    DialogHook answer([&](HWND box) {
      message = DialogHook::MessageText(box);
      DialogHook::Press(box, IDOK);
    });
    EXPECT_FALSE(SetPhotoAsWallpaper(GetModuleHandleA(nullptr), nullptr, "D:\\PHOTO_CD\\IMAGES\\IMG0002.PCD",
                                     desktop::kTileWallpaper));
  }
  RemoveDirectoryA(blocker.c_str());
  EXPECT_EQ("Could not write bitmap.", message);
  EXPECT_EQ(before, FileBytes(WallpaperFilePath()));
  EXPECT_EQ(wallpaper, DesktopValue("Wallpaper"));
  EXPECT_EQ(previous, DesktopValue("PrevWallpaper"));
  EXPECT_EQ("0", DesktopValue("TileWallpaper"));
}

}  // namespace
