#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/modal_dialog_win.h"
#include "app/ui_utils_win.h"
#include "imagefile/option_dialogs_win.h"
#include "resources/resource_ids.h"

namespace imagefile {
namespace {

const DWORD kHelpIds[] = {
    IDC_JPEG_QUALITY_SLIDER, 730, IDC_JPEG_QUALITY_SPIN, 730, IDC_JPEG_QUALITY,     730,
    IDC_JPEG_PROGRESSIVE,    731, IDC_JPEG_OPTIMIZE,     732, IDC_JPEG_SAMPLING,    733,
    IDC_JPEG_SMOOTHING,      734, IDC_JPEG_SMOOTHING_SPIN, 734, IDC_SAVE_AS_DEFAULTS, 726,
    IDC_RESET_ALL,           727, 0,                     0};

class JpegOptionsDialog final : public ModalDialog {
 public:
  JpegOptionsDialog(HINSTANCE instance, JpegOptions* block) : instance_(instance), block_(block) {}

 private:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_INITDIALOG:
        setUpControls();
        show(*block_);
        CentreWindow(dialog());
        return TRUE;
      case WM_HSCROLL:  // the slider moved
        if (reinterpret_cast<HWND>(lParam) != item(IDC_JPEG_QUALITY_SLIDER)) return FALSE;
        send(IDC_JPEG_QUALITY_SPIN, UDM_SETPOS32, 0, send(IDC_JPEG_QUALITY_SLIDER, TBM_GETPOS, 0, 0));
        return TRUE;
      case WM_COMMAND:
        return onCommand(LOWORD(wParam), HIWORD(wParam));
      case WM_HELP:
      case WM_CONTEXTMENU:
        return HandleControlHelp(message, wParam, lParam, kHelpIds);
    }
    return FALSE;
  }

  BOOL onCommand(int id, int code) {
    switch (id) {
      case IDC_JPEG_QUALITY:  // typed or set by the spin: the slider follows
        if (code == EN_CHANGE) send(IDC_JPEG_QUALITY_SLIDER, TBM_SETPOS, TRUE, quality());
        return TRUE;
      case IDC_RESET_ALL:
        show(JpegOptions());
        return TRUE;
      case IDOK:
        read(block_);
        EndDialog(dialog(), AcceptedResult(IsDlgButtonChecked(dialog(), IDC_SAVE_AS_DEFAULTS) == BST_CHECKED));
        return TRUE;
      case IDCANCEL:
        EndDialog(dialog(), kOptionsCancelled);
        return TRUE;
    }
    return FALSE;
  }

  void setUpControls() {
    send(IDC_JPEG_QUALITY_SLIDER, TBM_SETTICFREQ, 10, 0);
    send(IDC_JPEG_QUALITY_SLIDER, TBM_SETPAGESIZE, 0, 10);
    send(IDC_JPEG_QUALITY_SLIDER, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    send(IDC_JPEG_QUALITY_SPIN, UDM_SETRANGE32, 0, 100);
    send(IDC_JPEG_SMOOTHING_SPIN, UDM_SETRANGE32, 0, 100);
    send(IDC_JPEG_SAMPLING, CB_RESETCONTENT, 0, 0);
    for (UINT id : {IDS_SAMPLING_NONE, IDS_SAMPLING_DEFAULT}) {
      std::string text = LoadStringText(instance_, id);
      send(IDC_JPEG_SAMPLING, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }

  void show(const JpegOptions& values) {
    send(IDC_JPEG_QUALITY_SPIN, UDM_SETPOS32, 0, values.quality);
    send(IDC_JPEG_SMOOTHING_SPIN, UDM_SETPOS32, 0, values.smoothing);
    send(IDC_JPEG_QUALITY_SLIDER, TBM_SETPOS, TRUE, values.quality);
    send(IDC_JPEG_SAMPLING, CB_SETCURSEL, SamplingRow(values.sampling), 0);
    CheckDlgButton(dialog(), IDC_JPEG_PROGRESSIVE, values.progressive ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog(), IDC_JPEG_OPTIMIZE, values.optimise ? BST_CHECKED : BST_UNCHECKED);
  }

  void read(JpegOptions* values) {
    values->quality = quality();
    values->smoothing = ClampPercent(static_cast<int>(send(IDC_JPEG_SMOOTHING_SPIN, UDM_GETPOS32, 0, 0)));
    values->sampling = SamplingFromRow(static_cast<int>(send(IDC_JPEG_SAMPLING, CB_GETCURSEL, 0, 0)));
    values->progressive = IsDlgButtonChecked(dialog(), IDC_JPEG_PROGRESSIVE) == BST_CHECKED;
    values->optimise = IsDlgButtonChecked(dialog(), IDC_JPEG_OPTIMIZE) == BST_CHECKED;
  }

  // The spin's value; it keeps the last good one while the field holds no number.
  int quality() { return ClampPercent(static_cast<int>(send(IDC_JPEG_QUALITY_SPIN, UDM_GETPOS32, 0, 0))); }

  HWND item(int id) const { return GetDlgItem(dialog(), id); }
  LRESULT send(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(dialog(), id, message, wParam, lParam);
  }

  HINSTANCE instance_;
  JpegOptions* block_;
};

}  // namespace

int RunJpegOptionsDialog(HINSTANCE instance, HWND owner, JpegOptions* block) {
  JpegOptionsDialog dialog(instance, block);
  return static_cast<int>(dialog.run(instance, owner, IDD_JPEG_OPTIONS));
}

}  // namespace imagefile
