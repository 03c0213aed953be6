// The Export command: the Export dialog, then one file per photo in the chosen
// folder, with a progress window the user can cancel.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "imagefile/export_options.h"

namespace imagefile {

// Runs the Export dialog for the image files of photos, starting from the
// caller's rotation (0; 90 left, 270 right, 180 as a viewer shows the photo),
// then the export. 1 when the dialog was confirmed (whatever became of each
// photo), 0 when it was cancelled or could not be shown.
int ExportPhotos(HINSTANCE instance, HWND owner, const std::vector<std::string>& photos, int initialRotation);

// The export after the dialog: each photo decoded at options' resolution,
// turned by options' rotation and written in its format into folder. An
// existing file is replaced only when the user agrees (Yes, Yes to all; No
// skips the photo, Cancel ends the run), and only once the new file is
// complete under a temporary name; a cancel or failure leaves nothing behind.
void ExportFiles(HINSTANCE instance, HWND owner, const std::vector<std::string>& photos,
                 const ExportOptions& options, const std::string& folder);

}  // namespace imagefile
