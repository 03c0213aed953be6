// The Export dialog: resolution, rotation, format with its options, and the
// destination folder with its recent list.
#pragma once
#include <windows.h>

#include <string>

#include "imagefile/export_options.h"

namespace imagefile {

struct ExportDialogParams {
  // The working record. Its rotation (the caller's: 90 left, 270 right, 180)
  // picks the first checked button; OK sets rotation (-90, 90, 180 or 0),
  // format and resolution index, and the option dialogs edit its blocks.
  ExportOptions* options = nullptr;
  std::string folder;       // the destination, set on OK
  unsigned keepFlags = 0;   // kKeepJpegOptions | kKeepTiffOptions, as asked in the option dialogs
};

// IDOK or IDCANCEL; -1 when the dialog could not be shown.
INT_PTR RunExportDialog(HINSTANCE instance, HWND owner, ExportDialogParams* params);

// String id of what is wrong with folder as a destination, 0 when it will do.
// A folder is refused when it does not exist, when its volume is read-only (a
// CD, even when the folder exists) or when no file can be made in it.
UINT ExportFolderProblem(const std::string& folder);

}  // namespace imagefile
