#include "ui/modal_dialog_win.h"

INT_PTR ModalDialog::run(HINSTANCE instance, HWND owner, int templateId) {
  return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, &ModalDialog::DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<ModalDialog*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    self->dialog_ = dialog;
    return self->handleMessage(message, wParam, lParam);
  }
  auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  return self ? self->handleMessage(message, wParam, lParam) : FALSE;
}
