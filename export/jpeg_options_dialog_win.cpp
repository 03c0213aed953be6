#include <windows.h>
#include <commctrl.h>

#include <string>

#include "export/option_dialogs_win.h"
#include "export/options_dialog_win.h"

namespace imagefile {
namespace {

const DWORD kHelpIds[] = {
    IDC_JPEG_QUALITY_SLIDER, 730, IDC_JPEG_QUALITY_SPIN, 730, IDC_JPEG_QUALITY,     730,
    IDC_JPEG_PROGRESSIVE,    731, IDC_JPEG_OPTIMIZE,     732, IDC_JPEG_SAMPLING,    733,
    IDC_JPEG_SMOOTHING,      734, IDC_JPEG_SMOOTHING_SPIN, 734, IDC_SAVE_AS_DEFAULTS, 726,
    IDC_RESET_ALL,           727, 0,                     kFormatOptionsHelpTopic};

class JpegOptionsDialog final : public OptionsDialog<JpegOptions> {
 public:
  JpegOptionsDialog(HINSTANCE instance, JpegOptions* block)
      : OptionsDialog(block, kHelpIds), instance_(instance) {}

 private:
  // The slider and the quality spin follow each other.
  INT_PTR handleOther(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == GetDlgItem(dialog(), IDC_JPEG_QUALITY_SLIDER)) {
      send(IDC_JPEG_QUALITY_SPIN, UDM_SETPOS32, 0, send(IDC_JPEG_QUALITY_SLIDER, TBM_GETPOS, 0, 0));
      return TRUE;
    }
    // Typed, or set by the spin.
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_JPEG_QUALITY && HIWORD(wParam) == EN_CHANGE) {
      send(IDC_JPEG_QUALITY_SLIDER, TBM_SETPOS, TRUE, quality());
      return TRUE;
    }
    return FALSE;
  }

  void setUpControls() override {
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

  void show(const JpegOptions& values) override {
    send(IDC_JPEG_QUALITY_SPIN, UDM_SETPOS32, 0, values.quality);
    send(IDC_JPEG_SMOOTHING_SPIN, UDM_SETPOS32, 0, values.smoothing);
    send(IDC_JPEG_QUALITY_SLIDER, TBM_SETPOS, TRUE, values.quality);
    send(IDC_JPEG_SAMPLING, CB_SETCURSEL, SamplingRow(values.sampling), 0);
    CheckDlgButton(dialog(), IDC_JPEG_PROGRESSIVE, values.progressive ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog(), IDC_JPEG_OPTIMIZE, values.optimise ? BST_CHECKED : BST_UNCHECKED);
  }

  void read(JpegOptions* values) override {
    values->quality = quality();
    values->smoothing = ClampPercent(static_cast<int>(send(IDC_JPEG_SMOOTHING_SPIN, UDM_GETPOS32, 0, 0)));
    values->sampling = SamplingFromRow(static_cast<int>(send(IDC_JPEG_SAMPLING, CB_GETCURSEL, 0, 0)));
    values->progressive = IsDlgButtonChecked(dialog(), IDC_JPEG_PROGRESSIVE) == BST_CHECKED;
    values->optimise = IsDlgButtonChecked(dialog(), IDC_JPEG_OPTIMIZE) == BST_CHECKED;
  }

  // The spin's value; it keeps the last good one while the field holds no number.
  int quality() { return ClampPercent(static_cast<int>(send(IDC_JPEG_QUALITY_SPIN, UDM_GETPOS32, 0, 0))); }

  LRESULT send(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(dialog(), id, message, wParam, lParam);
  }

  HINSTANCE instance_;
};

}  // namespace

int RunJpegOptionsDialog(HINSTANCE instance, HWND owner, JpegOptions* block) {
  JpegOptionsDialog dialog(instance, block);
  return static_cast<int>(dialog.run(instance, owner, IDD_JPEG_OPTIONS));
}

}  // namespace imagefile
