// Base of the program's modal dialogs: the object's pointer lives in the dialog's
// user data and every message reaches one member switch.
#pragma once
#include <windows.h>

class ModalDialog {
 public:
  // Runs the dialog template templateId; its EndDialog result, or -1 when the
  // dialog could not be created.
  INT_PTR run(HINSTANCE instance, HWND owner, int templateId);

 protected:
  ModalDialog() = default;
  ~ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Messages after WM_INITDIALOG; TRUE when handled.
  virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  HWND dialog() const { return dialog_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  HWND dialog_ = nullptr;
};
