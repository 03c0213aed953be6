// Base of the program's modal dialogs: the object's pointer lives in the dialog's
// user data and every message reaches one member switch.
#pragma once
#include <windows.h>

class ModalDialog {
 public:
  // Runs the dialog template templateId; the result the dialog gave end(), or
  // -1 when the dialog could not be created or ended any other way (a quit
  // message ends every modal loop, and the result it leaves must never be
  // taken for OK).
  INT_PTR run(HINSTANCE instance, HWND owner, int templateId);

 protected:
  ModalDialog() = default;
  ~ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

  // Messages after WM_INITDIALOG; TRUE when handled.
  virtual INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  HWND dialog() const { return dialog_; }
  // Ends the dialog with result: the only way run() returns anything but -1.
  void end(INT_PTR result);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  HWND dialog_ = nullptr;
  bool ended_ = false;
  INT_PTR result_ = -1;
};
