#include "browse/progress_scan.h"

#include <cstdio>

#include "ui/progress_window_win.h"
#include "ui/shell_state_win.h"

namespace {

constexpr unsigned kShowAfterMs = 100;

// "Scanning disc..." with "Photo #n" and a bar over the photos; its Cancel
// stops the scan.
class ProgressWindowScan : public ScanProgress {
 public:
  void Begin(HWND owner, int count) override {
    window_ = std::make_unique<ProgressWindow>(g_instance, owner, "Scanning disc...", kShowAfterMs);
    window_->setRange(0, count);
  }
  bool Show(int j) override {
    if (Cancelled()) return false;
    char text[32];
    std::snprintf(text, sizeof text, "Photo #%d", j);
    window_->setText(text);
    window_->setPosition(j);
    window_->pump();
    return !Cancelled();
  }
  bool Cancelled() const override { return window_ && window_->cancelled(); }
  void End() override { window_.reset(); }

 private:
  std::unique_ptr<ProgressWindow> window_;
};

}  // namespace

std::unique_ptr<ScanProgress> MakeProgressWindowScan() { return std::make_unique<ProgressWindowScan>(); }
