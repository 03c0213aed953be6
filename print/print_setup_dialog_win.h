// The "Print setup" dialog: margins, size mode, position, information line,
// rendering resolution and gamma, with a live preview of the pages that a
// worker thread lays out while the user types.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "ui/modal_dialog_win.h"
#include "ui/worker_thread_win.h"
#include "print/print_state_win.h"
#include "print/print_values.h"

namespace print {

class PrintPreview;

// Posted by a pagination run as its last act, wParam = the run's generation.
constexpr UINT kPaginationFinishedMessage = WM_APP + 1;

class PrintSetupDialog : public ModalDialog {
 public:
  explicit PrintSetupDialog(PrintState& state) : s_(state) {}
  ~PrintSetupDialog();

  // For the preview: the options from the controls without messages, and the
  // page on show when it can be painted (0-based), else -1.
  bool ValidateSilently() { return Validate(false); }
  int PaintablePage() const;
  const PrintState& state() const { return s_; }

 private:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnInit();
  void OnCommand(int id, int code);
  void OnFieldChanged(int id);
  void OnSpin(HWND spin);
  void ApplySizeMode();
  void FillSizeFields();
  bool Validate(bool withMessages);
  bool ReadDecimal(int field, ValueRange range, bool withMessages, float* value);
  void Repaginate();
  void StopPagination();
  void RunPagination(HWND dialog, long generation);
  void OnPaginationFinished();
  void ShowPage(int page);
  void RepaintPreview();
  void SetDecimal(int field, double value);
  int SizeMode() const;

  PrintState& s_;
  PrintPreview* preview_ = nullptr;
  std::string separator_;
  float specified_[2] = {6.0f, 6.0f};  // width and height shown for each size mode
  float thumbnail_[2] = {1.0f, 1.0f};
  PrintOptions threadOptions_;         // the worker's own copy
  WorkerThread pagination_{3000, MB_ICONQUESTION};
  std::atomic<int> pageOnShow_{1};
  bool paginating_ = false;
  bool ready_ = false;
  HBITMAP positionPictures_[9] = {};
};

}  // namespace print
