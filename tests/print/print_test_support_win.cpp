#include "tests/print/print_test_support_win.h"

#include <commctrl.h>

#include <algorithm>

#include "app/comctl_version.h"
#include "imagefile/image_reader.h"
#include "resources/resource_ids.h"
#include "tests/support/unique_temp.h"

namespace test_print {

namespace {

std::function<bool(HWND)> g_step;
HWND g_stepDialog = nullptr;
PrintDialogs* g_dialogs = nullptr;

VOID CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_step || !IsWindow(g_stepDialog) || g_step(g_stepDialog)) {
    KillTimer(nullptr, id);
    g_step = nullptr;
  }
}

std::string Text(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

void RepeatOnDialog(HWND dialog, std::function<bool(HWND)> step) {
  g_step = std::move(step);
  g_stepDialog = dialog;
  SetTimer(nullptr, 0, 50, StepTimer);
}

bool Paginated(HWND dialog) {
  return Text(GetDlgItem(dialog, IDC_PRINT_PAGE_COUNT)) != "?" &&
         !IsWindowVisible(GetDlgItem(dialog, IDC_PRINT_PAGINATING));
}

PrintDialogs::PrintDialogs(Handler onSetup, Handler onMessage)
    : onSetup_(std::move(onSetup)), onMessage_(std::move(onMessage)) {
  g_dialogs = this;
  hook_ = SetWindowsHookExA(WH_CBT, &PrintDialogs::Cbt, nullptr, GetCurrentThreadId());
}

PrintDialogs::~PrintDialogs() {
  UnhookWindowsHookEx(hook_);
  g_dialogs = nullptr;
}

LRESULT CALLBACK PrintDialogs::Cbt(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && g_dialogs) g_dialogs->OnActivate(reinterpret_cast<HWND>(wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void PrintDialogs::OnActivate(HWND window) {
  char className[32] = "";
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770" || std::find(seen_.begin(), seen_.end(), window) != seen_.end()) return;
  seen_.push_back(window);
  if (GetDlgItem(window, IDC_PROGRESS_BAR)) return;  // the job's progress window
  if (GetDlgItem(window, IDC_PRINT_SIZE_MODE)) {
    if (onSetup_) onSetup_(window);
    return;
  }
  if (GetDlgItem(window, 0xFFFF)) {  // a message box
    messageTexts_.push_back(Text(GetDlgItem(window, 0xFFFF)));
    if (onMessage_)
      onMessage_(window);
    else
      PostMessageA(window, WM_COMMAND, IDOK, 0);
    return;
  }
  ++printDialogs_;  // the system print dialog: the default printer, as it stands
  PostMessageA(window, WM_COMMAND, IDOK, 0);
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
