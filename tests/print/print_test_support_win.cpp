#include "tests/print/print_test_support_win.h"

#include <commctrl.h>

#include "ui/comctl_version_win.h"
#include "imagefile/image_reader.h"
#include "resources/resource_ids.h"
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
