// What the JPEG and TIFF option dialogs share: they open on a copy of their
// block's values, "Reset all" shows the defaults, OK writes the controls back into
// the block and reports whether to keep them as defaults, Cancel changes nothing.
#pragma once
#include <windows.h>

#include "export/option_dialog_values.h"
#include "resources/resource_ids.h"
#include "ui/help_win.h"
#include "ui/modal_dialog_win.h"
#include "ui/ui_utils_win.h"

namespace imagefile {

template <typename Options>
class OptionsDialog : public ModalDialog {
 protected:
  OptionsDialog(Options* block, const DWORD* helpIds) : block_(block), helpIds_(helpIds) {}

  virtual void setUpControls() {}
  virtual void show(const Options& values) = 0;
  virtual void read(Options* values) = 0;
  // Messages the shared part leaves alone.
  virtual INT_PTR handleOther(UINT message, WPARAM wParam, LPARAM lParam) { return FALSE; }

 private:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_INITDIALOG:
        setUpControls();
        show(*block_);
        CentreWindow(dialog());
        return TRUE;
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDC_RESET_ALL:
            show(Options());
            return TRUE;
          case IDOK:
            read(block_);
            end(AcceptedResult(IsDlgButtonChecked(dialog(), IDC_SAVE_AS_DEFAULTS) == BST_CHECKED));
            return TRUE;
          case IDCANCEL:
            end(kOptionsCancelled);
            return TRUE;
        }
        break;
      case WM_HELP:
      case WM_CONTEXTMENU:
        return HandleControlHelp(message, wParam, lParam, helpIds_);
    }
    return handleOther(message, wParam, lParam);
  }

  Options* block_;
  const DWORD* helpIds_;
};

}  // namespace imagefile
