// The print job: the system print dialog, the pages, and each placed photo
// decoded at the size its rectangle needs and sent to the printer.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"
#include "ui/photo_steps_win.h"
#include "ui/progress_window_win.h"
#include "ui/command_rules_win.h"
#include "imaging/dib_ops.h"
#include "print/print_state_win.h"
#include "print/print_values.h"
#include "resources/resource_ids.h"
#include "ui/gdi_scope_win.h"

namespace print {

namespace {

constexpr int kMetafileFormats[] = {9, 15};  // scalable: decoded at a token size

// The abort procedure is told only the printer context: each running job lists
// its context with its own progress window, for as long as the job runs.
class AbortRegistration {
 public:
  AbortRegistration(HDC printer, ProgressWindow& progress) : entry_{printer, &progress} { jobs().push_back(entry_); }
  ~AbortRegistration() {
    auto& list = jobs();
    list.erase(std::remove_if(list.begin(), list.end(), [this](const Entry& e) { return e.printer == entry_.printer; }),
               list.end());
  }
  AbortRegistration(const AbortRegistration&) = delete;
  AbortRegistration& operator=(const AbortRegistration&) = delete;

  static ProgressWindow* ProgressOf(HDC printer) {
    for (const Entry& e : jobs())
      if (e.printer == printer) return e.progress;
    return nullptr;
  }

 private:
  struct Entry {
    HDC printer;
    ProgressWindow* progress;
  };
  static std::vector<Entry>& jobs() {
    static std::vector<Entry> list;
    return list;
  }
  Entry entry_;
};

// Runs inside GDI's page calls: only the job's progress window (its Cancel)
// gets its messages there, so no other window's command can start in the
// middle of a page; the others wait until the job is over.
BOOL CALLBACK AbortProc(HDC printer, int) {
  ProgressWindow* progress = AbortRegistration::ProgressOf(printer);
  if (!progress || !IsWindow(progress->handle())) return FALSE;
  progress->pump();
  return !progress->cancelled();
}

// The file's title as the system shows it, with the image number for the
// later images of a multi-image file.
std::string ItemTitle(const std::string& path, int subImage) {
  char title[MAX_PATH] = "";
  if (GetFileTitleA(path.c_str(), title, sizeof title) != 0) lstrcpynA(title, path.c_str(), sizeof title);
  std::string text = title;
  if (subImage > 0) text += " [" + std::to_string(subImage + 1) + "]";
  return text;
}

int ShowText(const PrintState& s, const std::string& text, const char* caption, UINT style) {
  return MessageBoxA(s.request->owner, text.c_str(), caption, style);
}

int ShowString(const PrintState& s, UINT textId, const char* caption, UINT style) {
  return MessageFromString(s.request->instance, s.request->owner, textId, caption, style);
}

std::string Text(const PrintState& s, UINT id) { return LoadStringText(s.request->instance, id); }

class PrintItem {
 public:
  PrintItem(PrintState& state, const PlacedItem& item, ProgressWindow& progress, bool canStretch)
      : s_(state), item_(item), progress_(progress), canStretch_(canStretch),
        reader_(*state.readers[static_cast<std::size_t>(item.photo)]),
        title_(ItemTitle(state.photos[static_cast<std::size_t>(item.photo)].path, item.subImage)),
        turn_(state.request->turn) {}
  ~PrintItem() {
    if (cropped_) DeleteObject(cropped_);
    reader_.releaseAll();
  }
  bool Render();

 private:
  bool Decode();
  bool Transfer(HBITMAP bitmap);

  PrintState& s_;
  const PlacedItem& item_;
  ProgressWindow& progress_;
  bool canStretch_;
  imagefile::ImageReader& reader_;
  std::string title_;
  imaging::QuarterTurns turn_;
  int imageWidth_ = 0, imageHeight_ = 0;  // as printed
  imaging::PixelRect source_;
  HBITMAP cropped_ = nullptr;
};

bool PrintItem::Decode() {
  imageWidth_ = reader_.width(item_.subImage);
  imageHeight_ = reader_.height(item_.subImage);
  if (turn_.swapsSides()) std::swap(imageWidth_, imageHeight_);
  source_ = {0, 0, imageWidth_, imageHeight_};
  if (!s_.selection.empty()) {
    source_ = {std::max(s_.selection.left, 0), std::max(s_.selection.top, 0),
               std::min(s_.selection.right, imageWidth_), std::min(s_.selection.bottom, imageHeight_)};
    if (source_.empty()) source_ = {0, 0, imageWidth_, imageHeight_};
  }

  imagefile::DecodeRequest request;
  request.bottomUp = true;
  request.makeDisplayBitmap = false;
  request.keepFullBitmap = true;
  request.page = item_.subImage;
  if (s_.working.gammaCorrection) request.gamma = s_.working.gammaValue;
  const int format = reader_.format();
  if (std::find(std::begin(kMetafileFormats), std::end(kMetafileFormats), format) != std::end(kMetafileFormats)) {
    request.targetWidth = request.targetHeight = 100;
  } else {
    const imaging::PixelRect& place = item_.place;
    DecodeSize size = PrintDecodeSize(place.width(), place.height(), s_.working.renderingDpi,
                                      s_.page.ppiX, s_.page.ppiY, source_.width(),
                                      source_.height(), imageWidth_, imageHeight_);
    if (turn_.swapsSides()) std::swap(size.width, size.height);  // the file holds the photo unturned
    request.targetWidth = size.width;
    request.targetHeight = size.height;
  }
  progress_.setText((Text(s_, IDS_PRINT_DECODING) + title_).c_str());
  switch (DecodeWithProgress(reader_, request, kHundredthOfTheImage, progress_)) {
    case DecodeOutcome::kComplete:
      break;
    case DecodeOutcome::kCannotStart: {
      char text[512];
      FormatStringId(text, sizeof text, s_.request->instance, IDS_PRINT_CANNOT_READ, title_.c_str());
      ShowText(s_, text, kAppName, MB_OK | MB_ICONSTOP);
      return false;
    }
    case DecodeOutcome::kFailed:
      ShowString(s_, IDS_PRINT_CANNOT_LOAD, kAppName, MB_OK | MB_ICONSTOP);
      return false;
    case DecodeOutcome::kCancelled:
      return false;
  }
  return turn_.none() || reader_.rotate(turn_);
}

bool PrintItem::Render() {
  if (!Decode()) return false;
  progress_.setText((Text(s_, IDS_PRINT_PRINTING) + title_).c_str());
  progress_.setPosition(0);
  imaging::PixelRect part =
      ScaleToDecoded(source_, imageWidth_, imageHeight_, reader_.displayedWidth(), reader_.displayedHeight());
  auto bitmap = reinterpret_cast<HBITMAP>(reader_.dibSection());
  if (!bitmap) {
    ShowString(s_, IDS_PRINT_NO_BITMAP, kAppName, MB_OK | MB_ICONSTOP);
    return false;
  }
  if (!s_.selection.empty()) {
    cropped_ = reinterpret_cast<HBITMAP>(imaging::crop(reinterpret_cast<imaging::BitmapHandle>(bitmap), part.left,
                                                       part.top, part.width(), part.height()));
    if (!cropped_) {
      ShowString(s_, IDS_PRINT_CANNOT_CROP, Text(s_, IDS_PRINT_FAILURE).c_str(), MB_OK | MB_ICONSTOP);
      return false;
    }
    bitmap = cropped_;
  }
  return Transfer(bitmap);
}

bool PrintItem::Transfer(HBITMAP bitmap) {
  MemoryDc memoryDc(s_.printer);
  const HDC memory = memoryDc.get();
  SelectedObject selected(memory, bitmap);
  if (!selected.selected()) {
    SystemErrorBox(s_.request->owner, "SelectObject()");
    return false;
  }
  const imaging::PixelRect& to = item_.place;
  const int toWidth = to.width(), toHeight = to.height();
  DIBSECTION section = {};
  bool isSection = GetObjectA(bitmap, sizeof section, &section) == sizeof section && section.dsBm.bmBits;
  BITMAP plain = {};
  GetObjectA(bitmap, sizeof plain, &plain);
  bool done;
  if (canStretch_ && isSection) {
    struct {
      BITMAPINFOHEADER header;
      RGBQUAD colours[256];
    } info = {section.dsBmih, {}};
    if (info.header.biBitCount <= 8) GetDIBColorTable(memory, 0, 256, info.colours);
    done = StretchDIBits(s_.printer, to.left, to.top, toWidth, toHeight, 0, 0, section.dsBm.bmWidth,
                         section.dsBm.bmHeight, section.dsBm.bmBits, reinterpret_cast<BITMAPINFO*>(&info),
                         DIB_RGB_COLORS, SRCCOPY) > 0;
  } else if (canStretch_) {
    done = StretchBlt(s_.printer, to.left, to.top, toWidth, toHeight, memory, 0, 0, plain.bmWidth, plain.bmHeight,
                      SRCCOPY) != 0;
  } else {
    done = BitBlt(s_.printer, to.left, to.top, plain.bmWidth, plain.bmHeight, memory, 0, 0, SRCCOPY) != 0;
  }
  if (!done) ShowString(s_, IDS_PRINT_TRANSFER_FAILED, kAppName, MB_OK | MB_ICONWARNING);
  return done;
}

void DrawInfo(const PrintState& s, const PlacedItem& item) {
  if (item.info.empty()) return;
  SelectedObject font(s.printer, s.printerFont);
  SetBkMode(s.printer, TRANSPARENT);
  RECT r = {item.infoPlace.left, item.infoPlace.top, item.infoPlace.right, item.infoPlace.bottom};
  DrawTextA(s.printer, item.info.c_str(), -1, &r, kInfoTextFlags);
}

// Sends every page; false when a page could not be started or ended.
bool PrintPages(PrintState& s, ProgressWindow& progress, bool canStretch) {
  const imaging::PixelRect printable = s.Printable();
  ScopedGdiObject<HRGN> clip(CreateRectRgn(printable.left, printable.top, printable.right, printable.bottom));
  bool pagesOk = true;
  for (int p = 0; p < s.pages.count() && !progress.cancelled(); ++p) {
    if (StartPage(s.printer) <= 0) {
      pagesOk = progress.cancelled();
      break;
    }
    for (const PlacedItem& item : s.pages.page(p).items) {
      int saved = SaveDC(s.printer);
      SelectClipRgn(s.printer, clip.get());
      bool rendered = PrintItem(s, item, progress, canStretch).Render();
      RestoreDC(s.printer, saved);
      DrawInfo(s, item);
      if (!rendered) break;
    }
    if (EndPage(s.printer) <= 0 && !progress.cancelled()) {
      pagesOk = false;
      break;
    }
  }
  return pagesOk;
}

}  // namespace

bool PrintJob(PrintState& s) {
  const HWND owner = s.request->owner;
  const HINSTANCE instance = s.request->instance;
  const std::string failure = Text(s, IDS_PRINT_FAILURE);
  const int caps = GetDeviceCaps(s.printer, RASTERCAPS);
  if (!(caps & RC_BITBLT)) {
    ShowString(s, IDS_PRINT_NO_BITMAPS, failure.c_str(), MB_OK | MB_ICONSTOP);
    return false;
  }
  const bool canStretch = (caps & (RC_STRETCHBLT | RC_STRETCHDIB)) != 0;
  if (!canStretch && ShowString(s, IDS_PRINT_NO_SCALING, failure.c_str(), MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return false;
  s.ReleaseBitmaps();

  ProgressWindow progress(instance, owner, Text(s, IDS_PRINT_PROGRESS_CAPTION).c_str(), 0);
  if (!progress.handle()) {
    MessageFromStrings(instance, owner, IDS_PRINT_NO_PROGRESS, IDS_PRINT_ERROR, MB_OK | MB_ICONSTOP);
    return false;
  }
  if (owner) EnableWindow(owner, FALSE);
  progress.setRange(0, 10000);
  AbortRegistration abortState(s.printer, progress);
  SetAbortProc(s.printer, AbortProc);
  char name[300] = "";
  FormatStringId(name, sizeof name, instance, IDS_PRINT_JOB_NAME, kAppName);
  DOCINFOA doc = {};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = name;
  bool started = StartDocA(s.printer, &doc) > 0;
  DWORD startError = started ? 0 : GetLastError();
  bool pagesOk = true;
  if (started) {
    pagesOk = PrintPages(s, progress, canStretch);
    // A cancelled job is dropped whole: no part of a page comes out.
    if (progress.cancelled())
      AbortDoc(s.printer);
    else
      EndDoc(s.printer);
  }
  DeleteDC(s.printer);
  s.printer = nullptr;
  if (owner) {
    EnableWindow(owner, TRUE);
    SetFocus(owner);
  }
  // A document the user declined to start (a cancelled output file name) is no failure.
  if (!pagesOk || (!started && startError != ERROR_CANCELLED))
    MessageBoxA(owner, failure.c_str(), kAppName, MB_OK | MB_ICONSTOP);
  return started && pagesOk;
}

int Print(PrintRequest& request, std::vector<PrintPhoto> photos) {
  if (photos.empty()) return 0;
  ExclusiveCommand run(request.instance, request.owner);
  if (!run.started()) return 0;
  PRINTDLGA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = request.owner;
  dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE |
                 (request.selection.empty() ? PD_NOSELECTION : PD_SELECTION);
  BOOL chosen = PrintDlgA(&dialog);
  if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
  if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
  if (!chosen || !dialog.hDC) return 0;

  PrintState state;
  if (!state.Build(request, dialog.hDC, std::move(photos), (dialog.Flags & PD_SELECTION) != 0)) {
    MessageFromString(request.instance, request.owner, IDS_PRINT_FAILURE, kAppName, MB_OK | MB_ICONSTOP);
    return 0;
  }
  INT_PTR result = RunPrintSetup(state);
  request.options = state.stored;
  if (result != 1) return 0;
  // The dialog's last pagination may have been given up: lay out what is printed now.
  state.Layout(state.working, {});
  PrintJob(state);
  return 1;
}

int PrintPhotos(HINSTANCE instance, HWND owner, std::vector<PrintPhoto> photos, imaging::QuarterTurns turn,
                const imaging::PixelRect& selection) {
  PrintRequest request;
  request.instance = instance;
  request.owner = owner;
  request.options = g_settings.PrintOptions;
  const PrintOptions before = request.options;
  request.turn = turn;
  request.selection = selection;
  int result = Print(request, std::move(photos));
  // Only what the user saved goes back: an unchanged copy must not undo
  // settings saved elsewhere meanwhile.
  if (std::memcmp(&request.options, &before, sizeof before) != 0)
    g_settings.PrintOptions = request.options;
  return result;
}

}  // namespace print
