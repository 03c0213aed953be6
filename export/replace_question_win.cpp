#include "export/replace_question_win.h"

#include "resources/resource_ids.h"
#include "ui/modal_dialog_win.h"
#include "ui/ui_utils_win.h"

namespace imagefile {
namespace {

class ReplaceQuestion : public ModalDialog {
 public:
  ReplaceQuestion(HINSTANCE instance, const std::string& fileTitle) : instance_(instance), fileTitle_(fileTitle) {}

 private:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM) override {
    if (message == WM_INITDIALOG) {
      char text[MAX_PATH + 64] = "";
      FormatStringId(text, sizeof text, instance_, IDS_EXPORT_REPLACE, fileTitle_.c_str());
      SetDlgItemTextA(dialog(), IDC_REPLACE_TEXT, text);
      SendDlgItemMessageA(dialog(), IDC_REPLACE_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_QUESTION)), 0);
      return TRUE;
    }
    if (message == WM_COMMAND) {
      const int id = LOWORD(wParam);
      if (id == IDYES || id == IDC_REPLACE_ALL || id == IDNO || id == IDCANCEL) end(id);
      return TRUE;
    }
    return FALSE;
  }

  HINSTANCE instance_;
  std::string fileTitle_;
};

}  // namespace

ReplaceAnswer AskReplace(HINSTANCE instance, HWND owner, const std::string& fileTitle) {
  ReplaceQuestion question(instance, fileTitle);
  switch (question.run(instance, owner, IDD_EXPORT_REPLACE)) {
    case IDYES: return ReplaceAnswer::kYes;
    case IDC_REPLACE_ALL: return ReplaceAnswer::kYesToAll;
    case IDNO: return ReplaceAnswer::kNo;
    default: return ReplaceAnswer::kCancel;  // also when the question could not be shown
  }
}

}  // namespace imagefile
