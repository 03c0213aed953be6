#include "ui/property_sheet_win.h"
#include "ui/window_object_win.h"

PROPSHEETPAGEA PropertyPage::Describe(HINSTANCE instance, int templateId) {
  PROPSHEETPAGEA description = {};
  description.dwSize = sizeof description;
  description.hInstance = instance;
  description.pszTemplate = MAKEINTRESOURCEA(templateId);
  description.pfnDlgProc = &PropertyPage::DialogProc;
  description.lParam = reinterpret_cast<LPARAM>(this);
  return description;
}

INT_PTR PropertyPage::Answer(LONG_PTR result) {
  SetWindowLongPtrA(page_, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR CALLBACK PropertyPage::DialogProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  // At WM_INITDIALOG lParam is the sheet's copy of the page description.
  auto* self = DialogObject(page, message,
                            message == WM_INITDIALOG
                                ? reinterpret_cast<PropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam)
                                : nullptr);
  if (!self) return FALSE;
  if (message == WM_INITDIALOG) self->page_ = page;
  return self->handleMessage(message, wParam, lParam);
}

INT_PTR RunPropertySheet(HINSTANCE instance, HWND owner, const char* caption,
                         const std::vector<PROPSHEETPAGEA>& pages, int startPage) {
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
  header.hwndParent = owner;
  header.hInstance = instance;
  header.pszCaption = caption;
  header.nPages = static_cast<UINT>(pages.size());
  header.nStartPage = startPage >= 0 && startPage < static_cast<int>(pages.size()) ? startPage : 0;
  header.ppsp = pages.data();
  return PropertySheetA(&header);
}
