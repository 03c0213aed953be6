// The JPEG and TIFF option dialogs. Each edits the block it is given only when
// the user presses OK and returns kOptionsCancelled, kOptionsAccepted or
// kOptionsAcceptedAsDefaults (negative when it could not be shown).
#pragma once
#include <windows.h>

#include "export/option_dialog_values.h"

namespace imagefile {

int RunJpegOptionsDialog(HINSTANCE instance, HWND owner, JpegOptions* block);
int RunTiffOptionsDialog(HINSTANCE instance, HWND owner, TiffOptions* block);

}  // namespace imagefile
