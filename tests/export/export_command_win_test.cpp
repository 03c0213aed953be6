// The Export command on the sample disc (D:), driven through its dialog as a
// user would, with the files read back by libtiff.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <tiffio.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "export/export_command_win.h"
#include "export/export_plan.h"
#include "imagefile/image_reader.h"
#include "imagefile/requested_level.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "settings/settings_store_win.h"
#include "tests/support/address_space_fill_win.h"
#include "tests/support/damaged_copy.h"
#include "tests/support/dialog_hook_win.h"
#include "tests/support/progress_hook_win.h"
#include "tests/support/unique_temp.h"
#include "tests/support/screenshot_win.h"
#include "tests/support/timed_script_win.h"
#include "ui/comctl_version_win.h"

namespace imagefile {
namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

std::string PackPath(int photo) {
  char path[64];
  std::snprintf(path, sizeof path, "D:\\PHOTO_CD\\IMAGES\\IMG%04d.PCD", photo);
  return path;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

struct TiffPicture {
  std::uint32_t width = 0, height = 0;
  std::uint16_t compression = 0;
  float xDpi = 0, yDpi = 0;
  std::uint32_t rowsPerStrip = 0;
  std::string make;                 // the scanner's maker, from the image pack
  std::vector<std::uint32_t> abgr;  // top row first
};

TiffPicture ReadTiff(const std::string& path) {
  TiffPicture p;
  TIFFSetWarningHandler(nullptr);
  TIFF* t = TIFFOpen(path.c_str(), "r");
  EXPECT_NE(nullptr, t) << path;
  if (!t) return p;
  TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &p.width);
  TIFFGetField(t, TIFFTAG_IMAGELENGTH, &p.height);
  TIFFGetField(t, TIFFTAG_COMPRESSION, &p.compression);
  TIFFGetField(t, TIFFTAG_XRESOLUTION, &p.xDpi);
  TIFFGetField(t, TIFFTAG_YRESOLUTION, &p.yDpi);
  TIFFGetField(t, TIFFTAG_ROWSPERSTRIP, &p.rowsPerStrip);
  char* make = nullptr;
  if (TIFFGetField(t, TIFFTAG_MAKE, &make)) p.make = make;
  p.abgr.resize(static_cast<std::size_t>(p.width) * p.height);
  EXPECT_EQ(1, TIFFReadRGBAImageOriented(t, p.width, p.height, p.abgr.data(), ORIENTATION_TOPLEFT, 0));
  TIFFClose(t);
  return p;
}

// The photo as the reader decodes it at BASE, as 0xAABBGGRR like libtiff's.
std::vector<std::uint32_t> DecodeBase(const std::string& path, int* width, int* height) {
  ImageReader reader;
  reader.open(path);
  DecodeRequest request;
  request.pcdLevel = 3;
  request.makeDisplayBitmap = false;
  request.keepFullBitmap = true;
  std::vector<std::uint32_t> out;
  if (!reader.beginDecode(request)) return out;
  while (!reader.isComplete() && reader.step(64)) {}
  DIBSECTION section = {};
  GetObjectA(reinterpret_cast<HBITMAP>(reader.dibSection()), sizeof section, &section);
  *width = section.dsBm.bmWidth;
  *height = section.dsBm.bmHeight;
  const auto* bits = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
  const int stride = section.dsBm.bmWidthBytes;
  for (int y = 0; y < *height; ++y) {
    const std::uint8_t* row = bits + stride * (*height - 1 - y);  // bottom-up section
    for (int x = 0; x < *width; ++x)
      out.push_back(0xFF000000u | row[3 * x] << 16 | row[3 * x + 1] << 8 | row[3 * x + 2]);
  }
  return out;
}

// Picks a format in the Export dialog as a user would, and types the folder.
void ChooseFormatAndFolder(HWND dialog, int format, const std::string& folder) {
  SendDlgItemMessageA(dialog, IDC_EXPORT_FORMAT, CB_SETCURSEL, ExportFormatRow(format), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_EXPORT_FORMAT, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_EXPORT_FORMAT)));
  SetDlgItemTextA(dialog, IDC_EXPORT_FOLDER, folder.c_str());
}

// Inside the Export dialog's modal loop, once it is painted: its picture, then
// its TIFF options.
HWND g_exportDialog = nullptr;
VOID CALLBACK PictureThenOptions(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  SetForegroundWindow(g_exportDialog);
  EXPECT_TRUE(SaveScreenshot(g_exportDialog, "export"));
  DialogHook::Press(g_exportDialog, IDC_EXPORT_OPTIONS);
}

class ExportCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitAllCommonControls(); }
  void SetUp() override {
    if (GetFileAttributesA(PackPath(1).c_str()) == INVALID_FILE_ATTRIBUTES)
      GTEST_SKIP() << "D:\\PHOTO_CD is missing: build the native sample_disc target and run through scripts/wine-env.sh";
    folder_ = test_support::UniqueTempPath("out");
    if (!folder_.empty() && folder_.back() == '\\') folder_.pop_back();
    CreateDirectoryA(folder_.c_str(), nullptr);
    for (const std::string& name : FilesIn(folder_)) DeleteFileA((folder_ + "\\" + name).c_str());
    RegistrySettingsStore store(kSettingsKeyPath, RegistrySettingsStore::Access::kWrite);
    for (const char* value : {"ExportOptions", "MRUExportPaths"}) store.write(value, "", 0);
  }

  std::string folder_;
};

TEST_F(ExportCommandTest, ThreePhotosAsLzwTiffAtTheChosenDpi) {
  DialogHook hook([&](HWND dialog) {
    std::string caption = DialogHook::Text(dialog);
    if (caption == "Export") {
      g_exportDialog = dialog;
      ChooseFormatAndFolder(dialog, kFormatTiff, folder_);
      SetTimer(nullptr, 0, 400, PictureThenOptions);
    } else if (caption == "TIFF Options") {
      CheckRadioButton(dialog, IDC_TIFF_NONE, IDC_TIFF_JPEG, IDC_TIFF_LZW);
      SetDlgItemInt(dialog, IDC_TIFF_DPI_X, 150, FALSE);
      SetDlgItemInt(dialog, IDC_TIFF_DPI_Y, 300, FALSE);
      CheckDlgButton(dialog, IDC_SAVE_AS_DEFAULTS, BST_CHECKED);
      DialogHook::Press(dialog, IDOK);
      DialogHook::Press(g_exportDialog, IDOK);
    } else if (!GetDlgItem(dialog, IDC_PROGRESS_BAR)) {
      ADD_FAILURE() << "unexpected box: " << caption << ": " << DialogHook::MessageText(dialog);
      DialogHook::Press(dialog, IDOK);
    }
  });
  ASSERT_EQ(1, ExportPhotos(Instance(), nullptr, {PackPath(1), PackPath(2), PackPath(3)}, imaging::kNoTurn));

  EXPECT_EQ(3u, FilesIn(folder_).size());
  for (int photo = 1; photo <= 3; ++photo) {
    SCOPED_TRACE(photo);
    char name[32];
    std::snprintf(name, sizeof name, "\\IMG%04d.tif", photo);
    TiffPicture tiff = ReadTiff(folder_ + name);
    EXPECT_EQ(COMPRESSION_LZW, tiff.compression);
    EXPECT_EQ(150.0f, tiff.xDpi);
    EXPECT_EQ(300.0f, tiff.yDpi);
    EXPECT_EQ("Quorvant Imaging", tiff.make);
    int width = 0, height = 0;
    std::vector<std::uint32_t> decoded = DecodeBase(PackPath(photo), &width, &height);
    EXPECT_EQ(static_cast<std::uint32_t>(width), tiff.width);  // photo 3 stands: 512 x 768
    EXPECT_EQ(static_cast<std::uint32_t>(height), tiff.height);
    EXPECT_TRUE(decoded == tiff.abgr) << "the file holds other pixels than the reader decodes";
  }

  // The TIFF block was asked to be kept; this run's format was not.
  std::vector<unsigned char> value;
  ASSERT_TRUE(RegistrySettingsStore(kSettingsKeyPath, RegistrySettingsStore::Access::kRead).readAll("ExportOptions", &value));
  ExportOptions stored;
  ASSERT_TRUE(loadExportOptions(value.data(), value.size(), stored));
  EXPECT_EQ(kTiffLzw, stored.tiff.compression);
  EXPECT_EQ(150u, stored.tiff.xDpi);
  EXPECT_EQ(kFormatJpeg, stored.format);
  ASSERT_TRUE(RegistrySettingsStore(kSettingsKeyPath, RegistrySettingsStore::Access::kRead).readAll("MRUExportPaths", &value));
  EXPECT_EQ(folder_, std::string(reinterpret_cast<const char*>(value.data())));
}

TEST_F(ExportCommandTest, SixtyFourBaseOnASixteenBasePackGivesSixteenBaseTurned) {
  g_requestedPcdLevel = 6;
  ExportOptions options;
  options.format = kFormatTiff;
  options.resolutionIndex = 6;
  ExportFiles(Instance(), nullptr, {PackPath(1)}, options, imaging::kTurnLeft, folder_);
  EXPECT_EQ(6, g_requestedPcdLevel);
  TiffPicture tiff = ReadTiff(folder_ + "\\IMG0001.tif");
  EXPECT_EQ(2048u, tiff.width);
  EXPECT_EQ(3072u, tiff.height);
  EXPECT_EQ(COMPRESSION_NONE, tiff.compression);
  EXPECT_EQ(5u, tiff.rowsPerStrip);  // 30 KiB strips of 6 KiB rows
}

// A turn right is clockwise and a turn left anticlockwise: the exported pixels
// are the upright decode's, moved the way the turn moves them.
TEST_F(ExportCommandTest, TurnsRightAndLeftMoveThePixelsTheirWay) {
  int w = 0, h = 0;
  const std::vector<std::uint32_t> upright = DecodeBase(PackPath(1), &w, &h);
  ExportOptions options;
  options.format = kFormatTiff;
  options.resolutionIndex = 3;
  for (const bool right : {true, false}) {
    ExportFiles(Instance(), nullptr, {PackPath(1)}, options, right ? imaging::kTurnRight : imaging::kTurnLeft, folder_);
    const TiffPicture tiff = ReadTiff(folder_ + "\\IMG0001.tif");
    ASSERT_EQ(tiff.abgr.size(), upright.size());
    int wrong = 0;
    for (int y = 0; y < w; ++y)  // the turned picture is h wide, w high
      for (int x = 0; x < h; ++x)
        wrong += tiff.abgr[y * h + x] != (right ? upright[(h - 1 - x) * w + y] : upright[x * w + w - 1 - y]);
    EXPECT_EQ(wrong, 0) << (right ? "right" : "left");
    DeleteFileA((folder_ + "\\IMG0001.tif").c_str());
  }
}

// Inside the replace question's modal loop, once it is painted: its picture, then No.
VOID CALLBACK PictureThenNo(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  SetForegroundWindow(g_exportDialog);
  EXPECT_TRUE(SaveScreenshot(g_exportDialog, "export-replace"));
  DialogHook::Press(g_exportDialog, IDNO);
}

// An earlier export's file, with a text that tells whether it is still there.
void WriteEarlier(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fputs("an earlier export", file);
  std::fclose(file);
}
bool StillEarlier(const std::string& path) {
  char text[64] = "";
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fgets(text, sizeof text, file);
  std::fclose(file);
  return std::string(text) == "an earlier export";
}

TEST_F(ExportCommandTest, CancelInTheThirdPhotoKeepsTheFirstTwoAndTheOldThird) {
  const std::string third = folder_ + "\\IMG0003.bmp";
  WriteEarlier(third);

  ExportOptions options;
  options.format = kFormatBmp;
  DialogHook replace([](HWND dialog) {
    if (GetDlgItem(dialog, IDC_REPLACE_ALL)) DialogHook::Press(dialog, IDYES);
  });
  {
    ProgressHook cancel(251, ProgressHook::Cancel);  // in the third photo's rows
    ExportFiles(Instance(), nullptr, {PackPath(1), PackPath(2), PackPath(3), PackPath(4)}, options, imaging::kNoTurn,
                folder_);
  }

  std::vector<std::string> files = FilesIn(folder_);
  std::sort(files.begin(), files.end());
  EXPECT_EQ((std::vector<std::string>{"IMG0001.bmp", "IMG0002.bmp", "IMG0003.bmp"}), files);
  EXPECT_TRUE(StillEarlier(third));
}

TEST_F(ExportCommandTest, ExistingFilesAreReplacedOnlyWhenTheUserSaysSo) {
  ExportOptions options;
  options.format = kFormatBmp;
  auto name = [&](int photo) {
    char text[32];
    std::snprintf(text, sizeof text, "\\IMG%04d.bmp", photo);
    return folder_ + text;
  };
  for (int photo : {1, 2, 3, 5}) WriteEarlier(name(photo));

  // No keeps photo 1's file, Yes replaces photo 2's, Yes to all replaces
  // photo 3's and photo 5's without a second question.
  std::vector<std::string> questions;
  int answer = 0;
  bool pictured = false;
  const int answers[] = {IDNO, IDYES, IDC_REPLACE_ALL};
  DialogHook hook([&](HWND dialog) {
    if (GetDlgItem(dialog, IDC_PROGRESS_BAR)) return;
    questions.push_back(DialogHook::Text(GetDlgItem(dialog, IDC_REPLACE_TEXT)));
    const int button = answer < 3 ? answers[answer++] : IDCANCEL;
    if (pictured || button != IDNO) return DialogHook::Press(dialog, button);
    pictured = true;
    g_exportDialog = dialog;  // the first question is pictured once painted, then answered No
    SetTimer(nullptr, 0, 400, PictureThenNo);
  });
  ExportFiles(Instance(), nullptr, {PackPath(1), PackPath(2), PackPath(3), PackPath(4), PackPath(5)}, options,
              imaging::kNoTurn, folder_);
  EXPECT_EQ((std::vector<std::string>{"IMG0001.bmp already exists. Replace it?",
                                      "IMG0002.bmp already exists. Replace it?",
                                      "IMG0003.bmp already exists. Replace it?"}),
            questions);
  EXPECT_TRUE(StillEarlier(name(1)));
  for (int photo : {2, 3, 4, 5}) EXPECT_FALSE(StillEarlier(name(photo))) << photo;
  EXPECT_EQ(5u, FilesIn(folder_).size());  // no temporary file left behind

  // Cancel ends the run: neither that photo nor any after it is written.
  for (int photo : {1, 2}) WriteEarlier(name(photo));
  DeleteFileA(name(3).c_str());
  answer = 3;
  questions.clear();
  ExportFiles(Instance(), nullptr, {PackPath(1), PackPath(2), PackPath(3)}, options, imaging::kNoTurn, folder_);
  EXPECT_EQ(1u, questions.size());
  EXPECT_TRUE(StillEarlier(name(1)));
  EXPECT_TRUE(StillEarlier(name(2)));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(name(3).c_str()));
}

TEST_F(ExportCommandTest, APhotoThatCannotBeTurnedIsReportedAndNotWrittenUnturned) {
  ExportOptions options;
  options.format = kFormatBmp;
  std::string message;
  std::unique_ptr<AddressSpaceFill> fill;
  DialogHook hook([&](HWND box) {
    if (GetDlgItem(box, IDC_PROGRESS_BAR)) return;
    fill.reset();
    message = DialogHook::Text(box) + ": " + DialogHook::MessageText(box);
    DialogHook::Press(box, IDOK);
  });
  {
    // Once decoded, no room is left for the turned 1.2 MB picture.
    ProgressHook decoded(50, [&](HWND) { fill = std::make_unique<AddressSpaceFill>(1 << 19); });
    ExportFiles(Instance(), nullptr, {PackPath(1)}, options, imaging::kTurnLeft, folder_);
    ASSERT_TRUE(decoded.fired());
  }
  EXPECT_EQ(message, "Conversion failed: Not enough memory to turn IMG0001.PCD.");
  EXPECT_TRUE(FilesIn(folder_).empty());
}

TEST_F(ExportCommandTest, FoldersThatCannotTakeFilesAreRefused) {
  std::vector<std::string> messages;
  const char* folders[] = {"D:\\PHOTO_CD", "", "C:\\no such folder"};
  std::size_t next = 0;
  HWND exportDialog = nullptr;
  auto tryNext = [&] {
    if (next == sizeof folders / sizeof *folders) return DialogHook::Press(exportDialog, IDCANCEL);
    SetDlgItemTextA(exportDialog, IDC_EXPORT_FOLDER, folders[next++]);
    DialogHook::Press(exportDialog, IDOK);
  };
  DialogHook hook([&](HWND dialog) {
    if (!exportDialog) {
      exportDialog = dialog;
    } else {
      messages.push_back(DialogHook::Text(dialog) + ": " + DialogHook::MessageText(dialog));
      DialogHook::Press(dialog, IDOK);
    }
    tryNext();
  });
  EXPECT_EQ(0, ExportPhotos(Instance(), nullptr, {PackPath(1)}, imaging::kNoTurn));
  EXPECT_EQ((std::vector<std::string>{"Lumivexa SE: The specified folder cannot be written to",
                                      "Lumivexa SE: You must specify a folder",
                                      "Lumivexa SE: The specified folder does not exist"}),
            messages);
}

// A photo whose 16BASE rows lost a 64 KB block is exported whole, and Export
// then names it, once, in one box with what was repaired.
TEST_F(ExportCommandTest, APhotoReadFromDamagedDataIsExportedAndNamed) {
  const std::string in = test_support::UniqueTempPath("in");
  CreateDirectoryA(in.c_str(), nullptr);
  const std::string damaged = in + "\\DAMAGED2.PCD";
  ASSERT_TRUE(CopyFileA(PackPath(2).c_str(), damaged.c_str(), FALSE));
  ASSERT_TRUE(test_support::ZeroBlockIn16BaseData(damaged));
  std::vector<std::string> messages;
  TimedScript script({[&] {
    HWND box = TimedScript::FindDialog("Lumivexa SE");
    if (!box) return false;
    messages.push_back(DialogHook::MessageText(box));
    EXPECT_TRUE(SaveScreenshot(box, "export-repaired"));
    DialogHook::Press(box, IDOK);
    return true;
  }});
  ExportOptions options;
  options.format = kFormatTiff;
  options.resolutionIndex = 5;
  ExportFiles(Instance(), nullptr, {PackPath(1), damaged}, options, imaging::kNoTurn, folder_);
  EXPECT_EQ(3072u, ReadTiff(folder_ + "\\DAMAGED2.tif").width);
  ASSERT_TRUE(script.finished());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("DAMAGED2"), std::string::npos) << messages[0];
  EXPECT_NE(messages[0].find(": Repaired: parts of this photo are damaged (16BASE: "), std::string::npos) << messages[0];
  EXPECT_EQ(messages[0].find("IMG0001"), std::string::npos) << messages[0];
  DeleteFileA(damaged.c_str());
}

// A quit message ends every modal loop; the dialog it ends was not confirmed,
// so nothing is written, wherever the folder field points.
TEST_F(ExportCommandTest, ADialogEndedByAQuitExportsNothing) {
  DialogHook hook([&](HWND dialog) {
    ChooseFormatAndFolder(dialog, kFormatBmp, folder_);
    PostQuitMessage(1);
  });
  EXPECT_EQ(0, ExportPhotos(Instance(), nullptr, {PackPath(1)}, imaging::kNoTurn));
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // left for the main loop
  EXPECT_TRUE(FilesIn(folder_).empty());
}

// Another window's Export while this one's dialog is up: refused with a word,
// and this one's OK keeps the defaults stored meanwhile (here written by the
// test) instead of putting back what it read when it opened.
std::vector<std::string> g_nestedMessages;
int g_nestedResult = -1;
HWND g_busyBox = nullptr;
VOID CALLBACK PictureOfTheBusyBoxThenOk(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EXPECT_TRUE(SaveScreenshot(g_busyBox, "command-busy"));
  DialogHook::Press(g_busyBox, IDOK);
}
VOID CALLBACK ExportFromAnotherWindow(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  ExportOptions savedElsewhere;
  savedElsewhere.tiff.xDpi = 200;
  std::uint8_t bytes[kExportOptionsSize];
  storeExportOptions(savedElsewhere, bytes);
  RegistrySettingsStore(kSettingsKeyPath, RegistrySettingsStore::Access::kWrite).write("ExportOptions", bytes, sizeof bytes);
  g_nestedResult = ExportPhotos(Instance(), nullptr, {PackPath(2)}, imaging::kNoTurn);
  DialogHook::Press(g_exportDialog, IDOK);
}

TEST_F(ExportCommandTest, ASecondExportWhileOneRunsIsRefusedAndStoredDefaultsSurvive) {
  g_nestedMessages.clear();
  g_exportDialog = nullptr;
  DialogHook hook([&](HWND dialog) {
    if (GetDlgItem(dialog, IDC_PROGRESS_BAR)) return;
    if (GetDlgItem(dialog, 0xFFFF)) {
      g_nestedMessages.push_back(DialogHook::MessageText(dialog));
      g_busyBox = dialog;
      SetTimer(nullptr, 0, 100, PictureOfTheBusyBoxThenOk);
    } else if (!g_exportDialog) {
      g_exportDialog = dialog;
      ChooseFormatAndFolder(dialog, kFormatBmp, folder_);
      SetTimer(nullptr, 0, 200, ExportFromAnotherWindow);
    } else {
      DialogHook::Press(dialog, IDCANCEL);  // a second Export dialog: the fault
    }
  });
  ASSERT_EQ(1, ExportPhotos(Instance(), nullptr, {PackPath(1)}, imaging::kNoTurn));
  EXPECT_EQ(0, g_nestedResult);
  EXPECT_EQ((std::vector<std::string>{"Another export, print, copy or wallpaper is in progress. Start this one when it has finished."}),
            g_nestedMessages);
  EXPECT_EQ((std::vector<std::string>{"IMG0001.bmp"}), FilesIn(folder_));
  std::vector<unsigned char> value;
  ASSERT_TRUE(RegistrySettingsStore(kSettingsKeyPath, RegistrySettingsStore::Access::kRead).readAll("ExportOptions", &value));
  ExportOptions stored;
  ASSERT_TRUE(loadExportOptions(value.data(), value.size(), stored));
  EXPECT_EQ(200u, stored.tiff.xDpi);
}

}  // namespace
}  // namespace imagefile
