// The progress window and the option dialogs, driven as a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "export/option_dialogs_win.h"
#include "resources/resource_ids.h"
#include "tests/support/dialog_hook_win.h"
#include "ui/comctl_version_win.h"
#include "ui/progress_window_win.h"

namespace imagefile {
namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

class ExportDialogsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { InitAllCommonControls(); }
};

// Pumps the progress window until done() or the time runs out; the time taken.
template <typename Done>
DWORD PumpUntil(ProgressWindow& progress, DWORD limitMs, Done done) {
  DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < limitMs) {
    progress.pump();
    Sleep(5);
  }
  return GetTickCount() - start;
}

using ProgressWindowTest = ExportDialogsTest;

TEST_F(ProgressWindowTest, WithoutDelayItShowsAtOnceWithTextAndBar) {
  ProgressWindow progress(Instance(), nullptr, "Exporting...", 0);
  ASSERT_NE(nullptr, progress.handle());
  EXPECT_FALSE(progress.cancelled());
  EXPECT_TRUE(IsWindowVisible(progress.handle()));
  EXPECT_EQ("Exporting...", DialogHook::Text(progress.handle()));

  progress.setText("Converting IMG0001.PCD -> IMG0001.jpg");
  progress.setRange(0, 300);
  progress.setPosition(150);
  EXPECT_EQ("Converting IMG0001.PCD -> IMG0001.jpg",
            DialogHook::Text(GetDlgItem(progress.handle(), IDC_PROGRESS_TEXT)));
  HWND bar = GetDlgItem(progress.handle(), IDC_PROGRESS_BAR);
  EXPECT_EQ(150, SendMessageA(bar, PBM_GETPOS, 0, 0));
  EXPECT_EQ(300, SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
}

TEST_F(ProgressWindowTest, ShowsAfterItsDelayAndCancelSetsTheFlag) {
  ProgressWindow progress(Instance(), nullptr, "Scanning disc...", 200);
  ASSERT_NE(nullptr, progress.handle());
  EXPECT_FALSE(IsWindowVisible(progress.handle()));
  DWORD waited = PumpUntil(progress, 3000, [&] { return IsWindowVisible(progress.handle()) != FALSE; });
  EXPECT_TRUE(IsWindowVisible(progress.handle()));
  EXPECT_GE(waited, 150u);

  // A click on Cancel, delivered through the pump like every other message.
  PostMessageA(GetDlgItem(progress.handle(), IDCANCEL), BM_CLICK, 0, 0);
  PumpUntil(progress, 2000, [&] { return progress.cancelled(); });
  EXPECT_TRUE(progress.cancelled());
  EXPECT_FALSE(IsWindowVisible(progress.handle()));
}

TEST_F(ProgressWindowTest, CancelBeforeTheDelayKeepsItHidden) {
  ProgressWindow progress(Instance(), nullptr, "Print", 100);
  PostMessageA(progress.handle(), WM_COMMAND, IDCANCEL, 0);
  progress.pump();
  EXPECT_TRUE(progress.cancelled());
  PumpUntil(progress, 400, [] { return false; });
  EXPECT_FALSE(IsWindowVisible(progress.handle()));
}

// An operation started from another window while one runs (a copy during an
// export) has its own window: neither one's start nor its Cancel reaches the other.
TEST_F(ProgressWindowTest, EachWindowHasItsOwnCancel) {
  ProgressWindow outer(Instance(), nullptr, "Exporting...", 0);
  PostMessageA(outer.handle(), WM_COMMAND, IDCANCEL, 0);
  outer.pump();
  {
    ProgressWindow inner(Instance(), nullptr, "Copy", 0);
    EXPECT_FALSE(inner.cancelled());
    EXPECT_TRUE(outer.cancelled());
  }
  ProgressWindow second(Instance(), nullptr, "Print", 0);
  ProgressWindow third(Instance(), nullptr, "Copy", 0);
  PostMessageA(third.handle(), WM_COMMAND, IDCANCEL, 0);
  third.pump();
  EXPECT_TRUE(third.cancelled());
  EXPECT_FALSE(second.cancelled());
}

// What a JPEG dialog showed when it opened.
struct JpegControls {
  std::string title, quality, smoothing;
  int slider = -1, sliderMax = -1, pageSize = -1, samplingRow = -2, rows = -1;
  bool progressive = false, optimise = false;
};

JpegControls ReadJpeg(HWND d) {
  JpegControls c;
  c.title = DialogHook::Text(d);
  c.quality = DialogHook::Text(GetDlgItem(d, IDC_JPEG_QUALITY));
  c.smoothing = DialogHook::Text(GetDlgItem(d, IDC_JPEG_SMOOTHING));
  c.slider = static_cast<int>(SendDlgItemMessageA(d, IDC_JPEG_QUALITY_SLIDER, TBM_GETPOS, 0, 0));
  c.sliderMax = static_cast<int>(SendDlgItemMessageA(d, IDC_JPEG_QUALITY_SLIDER, TBM_GETRANGEMAX, 0, 0));
  c.pageSize = static_cast<int>(SendDlgItemMessageA(d, IDC_JPEG_QUALITY_SLIDER, TBM_GETPAGESIZE, 0, 0));
  c.samplingRow = static_cast<int>(SendDlgItemMessageA(d, IDC_JPEG_SAMPLING, CB_GETCURSEL, 0, 0));
  c.rows = static_cast<int>(SendDlgItemMessageA(d, IDC_JPEG_SAMPLING, CB_GETCOUNT, 0, 0));
  c.progressive = IsDlgButtonChecked(d, IDC_JPEG_PROGRESSIVE) == BST_CHECKED;
  c.optimise = IsDlgButtonChecked(d, IDC_JPEG_OPTIMIZE) == BST_CHECKED;
  return c;
}

bool SameJpeg(const JpegOptions& a, const JpegOptions& b) {
  return a.quality == b.quality && a.progressive == b.progressive && a.optimise == b.optimise &&
         a.sampling == b.sampling && a.smoothing == b.smoothing;
}

using JpegOptionsDialogTest = ExportDialogsTest;

TEST_F(JpegOptionsDialogTest, OpensOnTheBlockAndCancelLeavesIt) {
  JpegOptions block{80, 1, 0, 1, 10};
  JpegControls seen;
  int result;
  {
    DialogHook hook([&](HWND d) {
      seen = ReadJpeg(d);
      DialogHook::Press(d, IDCANCEL);
    });
    result = RunJpegOptionsDialog(Instance(), nullptr, &block);
  }
  EXPECT_EQ(kOptionsCancelled, result);
  EXPECT_TRUE(SameJpeg(JpegOptions{80, 1, 0, 1, 10}, block));
  EXPECT_EQ("JPEG Options", seen.title);
  EXPECT_EQ("80", seen.quality);
  EXPECT_EQ(80, seen.slider);
  EXPECT_EQ(100, seen.sliderMax);
  EXPECT_EQ(10, seen.pageSize);
  EXPECT_EQ("10", seen.smoothing);
  EXPECT_EQ(2, seen.rows);
  EXPECT_EQ(0, seen.samplingRow);
  EXPECT_TRUE(seen.progressive);
  EXPECT_FALSE(seen.optimise);
}

TEST_F(JpegOptionsDialogTest, TakesTheUsersValuesAndSaveAsDefaults) {
  JpegOptions block;
  int sliderAfterTyping = -1;
  std::string fieldAfterSliding;
  int result;
  {
    DialogHook hook([&](HWND d) {
      HWND slider = GetDlgItem(d, IDC_JPEG_QUALITY_SLIDER);
      SendMessageA(slider, TBM_SETPOS, TRUE, 40);
      SendMessageA(d, WM_HSCROLL, TB_THUMBPOSITION, reinterpret_cast<LPARAM>(slider));
      fieldAfterSliding = DialogHook::Text(GetDlgItem(d, IDC_JPEG_QUALITY));
      SetDlgItemTextA(d, IDC_JPEG_QUALITY, "100");
      sliderAfterTyping = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
      SetDlgItemTextA(d, IDC_JPEG_SMOOTHING, "25");
      SendDlgItemMessageA(d, IDC_JPEG_SAMPLING, CB_SETCURSEL, 0, 0);
      CheckDlgButton(d, IDC_JPEG_OPTIMIZE, BST_CHECKED);
      CheckDlgButton(d, IDC_SAVE_AS_DEFAULTS, BST_CHECKED);
      DialogHook::Press(d, IDOK);
    });
    result = RunJpegOptionsDialog(Instance(), nullptr, &block);
  }
  EXPECT_EQ("40", fieldAfterSliding);
  EXPECT_EQ(100, sliderAfterTyping);
  EXPECT_EQ(kOptionsAcceptedAsDefaults, result);
  EXPECT_TRUE(SameJpeg(JpegOptions{100, 0, 1, 1, 25}, block));
}

TEST_F(JpegOptionsDialogTest, UnknownSamplingSelectsNoRowAndIsKept) {
  JpegOptions block{65, 0, 0, 4, 0};
  int row = 0;
  int result;
  {
    DialogHook hook([&](HWND d) {
      row = static_cast<int>(SendDlgItemMessageA(d, IDC_JPEG_SAMPLING, CB_GETCURSEL, 0, 0));
      DialogHook::Press(d, IDOK);
    });
    result = RunJpegOptionsDialog(Instance(), nullptr, &block);
  }
  EXPECT_EQ(CB_ERR, row);
  EXPECT_EQ(kOptionsAccepted, result);
  EXPECT_EQ(4, block.sampling);
}

TEST_F(JpegOptionsDialogTest, ResetAllShowsDefaultsButOnlyOkCommits) {
  JpegOptions block{90, 1, 1, 1, 50};
  JpegControls afterReset;
  {
    DialogHook hook([&](HWND d) {
      SendMessageA(d, WM_COMMAND, IDC_RESET_ALL, 0);
      afterReset = ReadJpeg(d);
      DialogHook::Press(d, IDCANCEL);
    });
    EXPECT_EQ(kOptionsCancelled, RunJpegOptionsDialog(Instance(), nullptr, &block));
  }
  EXPECT_TRUE(SameJpeg(JpegOptions{90, 1, 1, 1, 50}, block));
  EXPECT_EQ("65", afterReset.quality);
  EXPECT_EQ(65, afterReset.slider);
  EXPECT_EQ("0", afterReset.smoothing);
  EXPECT_EQ(1, afterReset.samplingRow);
  EXPECT_FALSE(afterReset.progressive);
  EXPECT_FALSE(afterReset.optimise);

  {
    DialogHook hook([](HWND d) {
      PostMessageA(d, WM_COMMAND, IDC_RESET_ALL, 0);
      DialogHook::Press(d, IDOK);
    });
    EXPECT_EQ(kOptionsAccepted, RunJpegOptionsDialog(Instance(), nullptr, &block));
  }
  EXPECT_TRUE(SameJpeg(JpegOptions(), block));
}

TEST_F(JpegOptionsDialogTest, MissingTemplateIsReportedAsNotShown) {
  JpegOptions block;
  int result = RunJpegOptionsDialog(GetModuleHandleA("kernel32.dll"), nullptr, &block);
  EXPECT_FALSE(InterpretOptionDialogResult(result).shown);
}

using TiffOptionsDialogTest = ExportDialogsTest;

int CheckedCompression(HWND d) {
  for (int i = 0; i < kTiffCompressionCount; ++i)
    if (IsDlgButtonChecked(d, IDC_TIFF_NONE + i) == BST_CHECKED) return i;
  return -1;
}

TEST_F(TiffOptionsDialogTest, OpensOnTheBlockAndSavesAsDefaults) {
  TiffOptions block{3, 300, 150};
  int checked = -1;
  std::string title, dpiX, dpiY;
  int result;
  {
    DialogHook hook([&](HWND d) {
      title = DialogHook::Text(d);
      checked = CheckedCompression(d);
      dpiX = DialogHook::Text(GetDlgItem(d, IDC_TIFF_DPI_X));
      dpiY = DialogHook::Text(GetDlgItem(d, IDC_TIFF_DPI_Y));
      CheckDlgButton(d, IDC_SAVE_AS_DEFAULTS, BST_CHECKED);
      DialogHook::Press(d, IDOK);
    });
    result = RunTiffOptionsDialog(Instance(), nullptr, &block);
  }
  EXPECT_EQ("TIFF Options", title);
  EXPECT_EQ(3, checked);  // LZW
  EXPECT_EQ("300", dpiX);
  EXPECT_EQ("150", dpiY);
  EXPECT_EQ(kOptionsAcceptedAsDefaults, result);
  EXPECT_EQ(3, block.compression);
  EXPECT_EQ(300u, block.xDpi);
}

TEST_F(TiffOptionsDialogTest, TakesTheCheckedButtonAndReadsANonNumberAsZero) {
  TiffOptions block;
  {
    DialogHook hook([](HWND d) {
      CheckRadioButton(d, IDC_TIFF_NONE, IDC_TIFF_JPEG, IDC_TIFF_DEFLATE);
      SetDlgItemTextA(d, IDC_TIFF_DPI_X, "abc");
      SetDlgItemTextA(d, IDC_TIFF_DPI_Y, "600");
      DialogHook::Press(d, IDOK);
    });
    EXPECT_EQ(kOptionsAccepted, RunTiffOptionsDialog(Instance(), nullptr, &block));
  }
  EXPECT_EQ(4, block.compression);
  EXPECT_EQ(0u, block.xDpi);
  EXPECT_EQ(600u, block.yDpi);
}

TEST_F(TiffOptionsDialogTest, ResetAllThenCancelOrOk) {
  TiffOptions block{5, 200, 200};
  int checkedAfterReset = -1;
  std::string dpiAfterReset;
  {
    DialogHook hook([&](HWND d) {
      SendMessageA(d, WM_COMMAND, IDC_RESET_ALL, 0);
      checkedAfterReset = CheckedCompression(d);
      dpiAfterReset = DialogHook::Text(GetDlgItem(d, IDC_TIFF_DPI_Y));
      DialogHook::Press(d, IDCANCEL);
    });
    EXPECT_EQ(kOptionsCancelled, RunTiffOptionsDialog(Instance(), nullptr, &block));
  }
  EXPECT_EQ(0, checkedAfterReset);
  EXPECT_EQ("72", dpiAfterReset);
  EXPECT_EQ(5, block.compression);
  EXPECT_EQ(200u, block.xDpi);

  {
    DialogHook hook([](HWND d) {
      PostMessageA(d, WM_COMMAND, IDC_RESET_ALL, 0);
      DialogHook::Press(d, IDOK);
    });
    EXPECT_EQ(kOptionsAccepted, RunTiffOptionsDialog(Instance(), nullptr, &block));
  }
  EXPECT_EQ(0, block.compression);
  EXPECT_EQ(72u, block.xDpi);
  EXPECT_EQ(72u, block.yDpi);
}

TEST_F(TiffOptionsDialogTest, AnIndexOutsideTheTableChecksNothingAndIsKept) {
  TiffOptions block{9, 72, 72};
  int checked = 0;
  {
    DialogHook hook([&](HWND d) {
      checked = CheckedCompression(d);
      DialogHook::Press(d, IDOK);
    });
    RunTiffOptionsDialog(Instance(), nullptr, &block);
  }
  EXPECT_EQ(-1, checked);
  EXPECT_EQ(9, block.compression);
}

}  // namespace
}  // namespace imagefile
