#include "tests/print/print_test_support_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "ui/comctl_version_win.h"
#include "imagefile/image_reader.h"
#include "resources/resource_ids.h"
#include "tests/support/screenshot_win.h"
#include "tests/support/unique_temp.h"

namespace test_print {

namespace {

std::function<bool(HWND)> g_step;
HWND g_stepDialog = nullptr;

VOID CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_step || !IsWindow(g_stepDialog) || g_step(g_stepDialog)) {
    KillTimer(nullptr, id);
    g_step = nullptr;
  }
}

}  // namespace

Box InkedBox(const Picture& page) {
  Box box{page.width, page.height, 0, 0};
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (Inked(page.at(x, y))) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return box;
}

double DifferenceFromPhoto(const Picture& page, const Box& box, const std::string& path, imaging::QuarterTurns turn) {
  const int width = box.right - box.left, height = box.bottom - box.top;
  const bool quarter = turn.swapsSides();
  imagefile::ImageReader reader;
  reader.open(path);
  imagefile::DecodeRequest request;
  request.targetWidth = quarter ? height : width;  // the file holds the photo unturned
  request.targetHeight = quarter ? width : height;
  request.displayDepth = 24;
  request.makeDisplayBitmap = false;
  request.keepFullBitmap = true;
  if (!reader.beginDecode(request)) return 255;
  while (reader.progress() < 10000)
    if (!reader.step(64)) return 255;
  reader.finish(false);
  if (!turn.none() && !reader.rotate(turn)) return 255;
  const int decodedWidth = std::min(width, reader.displayedWidth());
  const int decodedHeight = std::min(height, reader.displayedHeight());
  const std::vector<std::uint8_t> photo =
      BitmapRgb(reinterpret_cast<HBITMAP>(reader.dibSection()), reader.displayedWidth(), reader.displayedHeight());
  constexpr int kBlock = 6;
  long long sum = 0, count = 0;
  for (int by = 0; by + kBlock <= decodedHeight; by += kBlock)
    for (int bx = 0; bx + kBlock <= decodedWidth; bx += kBlock)
      for (int c = 0; c < 3; ++c) {
        int printed = 0, decoded = 0;
        for (int y = by; y < by + kBlock; ++y)
          for (int x = bx; x < bx + kBlock; ++x) {
            printed += page.at(box.left + x, box.top + y)[c];
            decoded += photo[(static_cast<std::size_t>(y) * reader.displayedWidth() + x) * 3 + c];
          }
        sum += std::abs(printed - decoded) / (kBlock * kBlock);
        ++count;
      }
  return count ? static_cast<double>(sum) / count : 255;
}

void RepeatOnDialog(HWND dialog, std::function<bool(HWND)> step) {
  g_step = std::move(step);
  g_stepDialog = dialog;
  SetTimer(nullptr, 0, 50, StepTimer);
}

bool Paginated(HWND dialog) {
  return DialogHook::Text(GetDlgItem(dialog, IDC_PRINT_PAGE_COUNT)) != "?" &&
         !IsWindowVisible(GetDlgItem(dialog, IDC_PRINT_PAGINATING));
}

PrintDialogs::PrintDialogs(std::function<void(HWND dialog)> onSetup)
    : onSetup_(std::move(onSetup)), hook_([this](HWND dialog) { OnDialog(dialog); }) {}

void PrintDialogs::OnDialog(HWND dialog) {
  if (GetDlgItem(dialog, IDC_PROGRESS_BAR)) return;  // the job's progress window
  if (GetDlgItem(dialog, IDC_PRINT_SIZE_MODE)) {
    if (onSetup_) onSetup_(dialog);
  } else if (GetDlgItem(dialog, 0xFFFF)) {
    messageTexts_.push_back(DialogHook::MessageText(dialog));
    DialogHook::Press(dialog, IDOK);
  } else {
    ++printDialogs_;  // the system print dialog: the default printer, as it stands
    DialogHook::Press(dialog, IDOK);
  }
}

std::string PrepareTestPrinter() {
  std::string error = InstallTestPrinter();
  if (!error.empty()) {
    ADD_FAILURE() << error;
    return {};
  }
  std::string output = test_support::UniqueTempPath("job.ps");
  SendPrinterOutputTo(output);
  return output;
}

void PrintTest::SetUp() {
  InitAllCommonControls();
  if (GetFileAttributesA("D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD") == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "D:\\PHOTO_CD is missing: build the sample_disc target of the native build";
  output_ = PrepareTestPrinter();
  ASSERT_FALSE(output_.empty());
}

print::PrintPhoto PrintTest::DiscPhoto(int n) {
  char path[64];
  wsprintfA(path, "D:\\PHOTO_CD\\IMAGES\\IMG%04d.PCD", n);
  imagefile::ImageReader reader;
  reader.open(path);
  print::PrintPhoto photo;
  photo.path = path;
  photo.number = n - 1;
  photo.width = reader.width();
  photo.height = reader.height();
  return photo;
}

print::PrintRequest PrintTest::Request() const {
  print::PrintRequest request;
  request.instance = GetModuleHandleA(nullptr);
  request.owner = nullptr;
  return request;
}

}  // namespace test_print
