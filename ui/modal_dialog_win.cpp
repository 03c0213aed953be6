#include "ui/modal_dialog_win.h"
#include "ui/window_object_win.h"

#include <string>

std::string HelpFilePath() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  std::size_t slash = folder.rfind('\\');
  folder.resize(slash == std::string::npos ? 0 : slash + 1);
  return folder + "LumivexaSE.hlp";
}

INT_PTR ModalDialog::run(HINSTANCE instance, HWND owner, int templateId) {
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, &ModalDialog::DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = DialogObject(dialog, message, reinterpret_cast<ModalDialog*>(lParam));
  if (!self) return FALSE;
  if (message == WM_INITDIALOG) self->dialog_ = dialog;
  return self->handleMessage(message, wParam, lParam);
}

bool HandleControlHelp(UINT message, WPARAM wParam, LPARAM lParam, const DWORD* helpIds) {
  std::string file = HelpFilePath();
  auto ids = reinterpret_cast<ULONG_PTR>(const_cast<DWORD*>(helpIds));
  if (message == WM_HELP) {
    auto* info = reinterpret_cast<HELPINFO*>(lParam);
    if (info->iContextType == HELPINFO_WINDOW)
      WinHelpA(static_cast<HWND>(info->hItemHandle), file.c_str(), HELP_WM_HELP, ids);
    return true;
  }
  if (message == WM_CONTEXTMENU) {
    WinHelpA(reinterpret_cast<HWND>(wParam), file.c_str(), HELP_CONTEXTMENU, ids);
    return true;
  }
  return false;
}
