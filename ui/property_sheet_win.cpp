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

namespace {

// F1 on the sheet's own controls (its tabs, OK, Cancel) reaches the sheet, not a
// page: the page on show answers it as for a control without a topic of its own.
LRESULT CALLBACK SheetHelpProc(HWND sheet, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (message == WM_HELP) {
    HWND page = PropSheet_GetCurrentPageHwnd(sheet);
    const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
    HWND item = info && info->iContextType == HELPINFO_WINDOW ? static_cast<HWND>(info->hItemHandle) : nullptr;
    if (page && item && item != page && !IsChild(page, item)) return SendMessageA(page, WM_HELP, wParam, lParam);
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(sheet, SheetHelpProc, id);
  }
  return DefSubclassProc(sheet, message, wParam, lParam);
}

int CALLBACK SheetCallback(HWND sheet, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED) SetWindowSubclass(sheet, SheetHelpProc, 1, 0);
  return 0;
}

}  // namespace

INT_PTR RunPropertySheet(HINSTANCE instance, HWND owner, const char* caption,
                         const std::vector<PROPSHEETPAGEA>& pages, int startPage) {
  PROPSHEETHEADERA header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
  header.pfnCallback = SheetCallback;
  header.hwndParent = owner;
  header.hInstance = instance;
  header.pszCaption = caption;
  header.nPages = static_cast<UINT>(pages.size());
  header.nStartPage = startPage >= 0 && startPage < static_cast<int>(pages.size()) ? startPage : 0;
  header.ppsp = pages.data();
  return PropertySheetA(&header);
}
