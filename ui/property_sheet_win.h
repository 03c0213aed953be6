// Modal property sheets: a page object per page, its pointer in the page's user
// data and every message in one member switch, and the sheet that runs them.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <vector>

class PropertyPage {
 public:
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;

  // The page's description for the sheet: its template and this object.
  PROPSHEETPAGEW Describe(HINSTANCE instance, int templateId);

 protected:
  PropertyPage() = default;
  ~PropertyPage() = default;

  // Messages from WM_INITDIALOG on; TRUE when handled.
  virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  HWND page() const { return page_; }
  HWND sheet() const { return GetParent(page_); }
  // Returns a notification's answer to the sheet.
  INT_PTR Answer(LONG_PTR result);
  LRESULT Send(int control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendDlgItemMessageW(page_, control, message, wParam, lParam);
  }
  void Check(int control, bool on) const { CheckDlgButton(page_, control, on ? BST_CHECKED : BST_UNCHECKED); }
  bool Checked(int control) const { return IsDlgButtonChecked(page_, control) == BST_CHECKED; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  HWND page_ = nullptr;
};

// Runs a modal sheet without an Apply button over the pages, starting on
// startPage. The PropertySheet result: positive after OK, 0 after Cancel, -1
// when the sheet could not be shown.
INT_PTR RunPropertySheet(HINSTANCE instance, HWND owner, const char* caption,
                         const std::vector<PROPSHEETPAGEW>& pages, int startPage);
