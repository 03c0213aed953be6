// Printing photos: the system print dialog, the print setup dialog with its
// preview, and the job that renders each placed photo onto the pages.
#pragma once
#include <windows.h>

#include <vector>

#include "settings/print_options.h"
#include "imaging/pixel_types.h"
#include "imaging/quarter_turns.h"
#include "print/print_layout.h"

namespace print {

// Choices of the setup dialog that a caller hides (and clears).
constexpr unsigned kHideCaption = 0x10;
constexpr unsigned kHidePhotographer = 0x20;
constexpr unsigned kHideDescription = 0x40;

struct PrintRequest {
  HINSTANCE instance = nullptr;  // module of the dialog, pictures and texts
  HWND owner = nullptr;
  PrintOptions options;          // in: the stored options; out: as the user saved them
  imaging::PixelRect selection;  // in the photo's pixels as printed; empty for none
  int currentPhoto = -1;         // the photo on show, -1 for none
  imaging::QuarterTurns turn;    // how the photos print, turned as the viewer shows them
  unsigned hiddenChoices = kHideCaption | kHidePhotographer | kHideDescription;
};

// Asks for a printer, lets the user set the page up and prints. 1 when the
// job ran, 0 when cancelled, when no printer was had or the list is empty.
// request.options takes back the stored options, changed or not.
int Print(PrintRequest& request, std::vector<PrintPhoto> photos);

// Prints photos with the print options of the settings and keeps what the
// user saved there. turn and selection as in PrintRequest (the viewer passes
// its own; the browse window passes none).
int PrintPhotos(HINSTANCE instance, HWND owner, std::vector<PrintPhoto> photos,
                imaging::QuarterTurns turn = imaging::kNoTurn,
                const imaging::PixelRect& selection = {});

}  // namespace print
