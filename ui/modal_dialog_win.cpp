#include "ui/modal_dialog_win.h"
#include "ui/window_object_win.h"

INT_PTR ModalDialog::run(HINSTANCE instance, HWND owner, int templateId) {
  ended_ = false;
  result_ = -1;
  DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, &ModalDialog::DialogProc,
                  reinterpret_cast<LPARAM>(this));
  return ended_ ? result_ : -1;
}

void ModalDialog::end(INT_PTR result) {
  ended_ = true;
  result_ = result;
  EndDialog(dialog_, result);
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = DialogObject(dialog, message, reinterpret_cast<ModalDialog*>(lParam));
  if (!self) return FALSE;
  if (message == WM_INITDIALOG) self->dialog_ = dialog;
  return self->handleMessage(message, wParam, lParam);
}
