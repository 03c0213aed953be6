#include "browse/progress_scan.h"

namespace {

// Until the shared progress window is part of the program the scan shows no
// window; it still lets waiting messages through between photos.
class QuietScan : public ScanProgress {
 public:
  void Begin(HWND, int) override {}
  bool Show(int) override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
    return true;
  }
  bool Cancelled() const override { return false; }
  void End() override {}
};

}  // namespace

std::unique_ptr<ScanProgress> MakeProgressWindowScan() { return std::make_unique<QuietScan>(); }
