// Everything one print needs, from the system print dialog to the last page:
// the stored and working options, the printer and its page, the fonts, one
// image reader per photo and the page list.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "settings/print_options.h"
#include "imagefile/image_reader.h"
#include "print/print_layout.h"
#include "print/print_win.h"

namespace print {

struct PrintState {
  PrintState() = default;
  PrintState(const PrintState&) = delete;
  PrintState& operator=(const PrintState&) = delete;
  ~PrintState();

  // Reads the printer's page, makes the fonts and a reader per photo; takes
  // the printer context. False when the printer reports no usable page.
  bool Build(const PrintRequest& request, HDC printerDc, std::vector<PrintPhoto> photoList, bool useSelection);
  // Drops every decoded bitmap the readers hold.
  void ReleaseBitmaps();
  // Lays the photos out again with the given options; see Paginate.
  bool Layout(const PrintOptions& options, const PaginationSignals& signals);
  imaging::PixelRect Printable() const { return PrintableRect(working, page); }

  const PrintRequest* request = nullptr;
  PrintOptions stored;   // what Save settings writes and the caller gets back
  PrintOptions working;  // what the dialog edits and the job prints with
  HDC printer = nullptr;
  PageMetrics page;
  int screenPpi = 96;
  HFONT screenFont = nullptr;   // the information font for the preview, in page pixels
  HFONT printerFont = nullptr;
  std::vector<PrintPhoto> photos;
  std::vector<std::unique_ptr<imagefile::ImageReader>> readers;
  imaging::PixelRect selection;  // empty unless the user chose to print the selection
  PageList pages;
};

// Text-drawing flags of an information line.
constexpr UINT kInfoTextFlags = DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_CENTER;

// The print setup dialog (print_setup_dialog_win.cpp): 1 for OK, 2 for Cancel,
// -1 when it could not be shown.
INT_PTR RunPrintSetup(PrintState& state);

// Renders every page on the printer (print_job_win.cpp).
bool PrintJob(PrintState& state);

}  // namespace print
