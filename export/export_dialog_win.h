// The Export dialog: resolution, rotation, format with its options, and the
// destination folder with its recent list.
#pragma once
#include <windows.h>

#include <string>

#include "imagefile/export_options.h"
#include "imaging/quarter_turns.h"

namespace imagefile {

struct ExportDialogParams {
  // The working record: OK sets its format and resolution index, and the
  // option dialogs edit its blocks.
  ExportOptions* options = nullptr;
  imaging::QuarterTurns turn;  // checks the first button; OK sets it from the checked one
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
