#include "print/print_setup_dialog_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ui/help_win.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"
#include "print/print_preview_win.h"
#include "resources/resource_ids.h"

namespace print {

namespace {

// Private messages of the dialog, above WM_APP: the dialog manager's own
// messages take WM_USER + 0 to + 2.
constexpr UINT kStart = WM_APP + 2;
constexpr UINT kPageReady = WM_APP + 4;

// Width, height, their spins, labels and unit texts: shown only when a size is typed.
constexpr int kSizeControls[] = {IDC_PRINT_WIDTH,       IDC_PRINT_HEIGHT,      IDC_PRINT_WIDTH_SPIN,
                                 IDC_PRINT_HEIGHT_SPIN, IDC_PRINT_WIDTH_LABEL, IDC_PRINT_WIDTH_UNIT,
                                 IDC_PRINT_HEIGHT_LABEL, IDC_PRINT_HEIGHT_UNIT};

struct HiddenChoice {
  unsigned flag;
  int control;
};
constexpr HiddenChoice kHiddenChoices[] = {
    {kHideCaption, IDC_PRINT_CAPTION},
    {kHidePhotographer, IDC_PRINT_PHOTOGRAPHER},
    {kHideDescription, IDC_PRINT_DESCRIPTION},
};

// Each decimal field and the spin that holds its value in tenths.
struct DecimalField {
  int field;
  int spin;
};
constexpr DecimalField kDecimalFields[] = {
    {IDC_PRINT_TOP, IDC_PRINT_TOP_SPIN},     {IDC_PRINT_LEFT, IDC_PRINT_LEFT_SPIN},
    {IDC_PRINT_RIGHT, IDC_PRINT_RIGHT_SPIN}, {IDC_PRINT_BOTTOM, IDC_PRINT_BOTTOM_SPIN},
    {IDC_PRINT_WIDTH, IDC_PRINT_WIDTH_SPIN}, {IDC_PRINT_HEIGHT, IDC_PRINT_HEIGHT_SPIN},
    {IDC_PRINT_GAMMA_VALUE, IDC_PRINT_GAMMA_SPIN},
};

int SpinOf(int field) {
  for (const DecimalField& f : kDecimalFields)
    if (f.field == field) return f.spin;
  if (field == IDC_PRINT_RESOLUTION) return IDC_PRINT_RESOLUTION_SPIN;
  if (field == IDC_PRINT_PAGE) return IDC_PRINT_PAGE_SPIN;
  return 0;
}

int BuddyOf(int spin) {
  for (const DecimalField& f : kDecimalFields)
    if (f.spin == spin) return f.field;
  if (spin == IDC_PRINT_RESOLUTION_SPIN) return IDC_PRINT_RESOLUTION;
  if (spin == IDC_PRINT_PAGE_SPIN) return IDC_PRINT_PAGE;
  return 0;
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

std::string FieldText(HWND dialog, int id) {
  char text[64] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void SetSpinRange(HWND dialog, int spin, int low, int high) {
  SendDlgItemMessageA(dialog, spin, UDM_SETRANGE32, low, std::max(low, high));
}

// Moves a spin without notifying anyone, kept inside its range.
void SetSpinPosition(HWND dialog, int spin, long long position) {
  int low = 0, high = 0;
  SendDlgItemMessageA(dialog, spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
  SendDlgItemMessageA(dialog, spin, UDM_SETPOS32, 0,
                      static_cast<LPARAM>(std::clamp<long long>(position, low, high)));
}

}  // namespace

PrintSetupDialog::~PrintSetupDialog() {
  StopPagination();
  for (HBITMAP picture : positionPictures_)
    if (picture) DeleteObject(picture);
}

INT_PTR RunPrintSetup(PrintState& state) {
  PrintSetupDialog dialog(state);
  return dialog.run(state.request->instance, state.request->owner, IDD_PRINT_SETUP);
}

int PrintSetupDialog::SizeMode() const {
  auto mode = SendDlgItemMessageA(dialog(), IDC_PRINT_SIZE_MODE, CB_GETCURSEL, 0, 0);
  return mode >= kFitToPage && mode <= kThumbnails ? static_cast<int>(mode) : kFitToPage;
}

void PrintSetupDialog::SetDecimal(int field, double value) {
  SetDlgItemTextA(dialog(), field, FormatDecimal(value, separator_).c_str());
}

void PrintSetupDialog::OnInit() {
  HWND d = dialog();
  PrintOptions& o = s_.working;
  const HINSTANCE instance = s_.request->instance;
  separator_ = LocaleDecimalSeparator();
  CentreWindow(d, s_.request->owner);
  if (o.position > 8) o.position = 1;
  if (o.sizeMode > kThumbnails) o.sizeMode = kFitToPage;

  // The preview takes the page's shape inside its placeholder.
  RECT holder;
  GetWindowRect(GetDlgItem(d, IDC_PRINT_PREVIEW_PLACE), &holder);
  MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&holder), 2);
  imaging::PixelRect fitted =
      FitPreview({holder.left, holder.top, holder.right, holder.bottom}, s_.page.width, s_.page.height);
  RECT place = {fitted.left, fitted.top, fitted.right, fitted.bottom};
  preview_ = PrintPreview::Create(instance, d, place, *this);

  for (int i = 0; i < 9; ++i) {
    positionPictures_[i] = static_cast<HBITMAP>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDB_POSITION_FIRST + i), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    SendDlgItemMessageA(d, IDC_PRINT_POSITION_FIRST + i, BM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(positionPictures_[i]));
  }
  CheckDlgButton(d, IDC_PRINT_POSITION_FIRST + o.position, BST_CHECKED);
  for (const HiddenChoice& choice : kHiddenChoices) {
    if (!(s_.request->hiddenChoices & choice.flag)) continue;
    ShowWindow(GetDlgItem(d, choice.control), SW_HIDE);
    if (choice.control == IDC_PRINT_CAPTION) o.captionChoice = 0;
    if (choice.control == IDC_PRINT_PHOTOGRAPHER) o.photographerChoice = 0;
    if (choice.control == IDC_PRINT_DESCRIPTION) o.descriptionChoice = 0;
  }
  CheckDlgButton(d, IDC_PRINT_CAPTION, o.captionChoice ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(d, IDC_PRINT_PHOTOGRAPHER, o.photographerChoice ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(d, IDC_PRINT_DESCRIPTION, o.descriptionChoice ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(d, IDC_PRINT_NUMBER, o.showPhotoNumber ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(d, IDC_PRINT_DATE, o.showDate ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(d, IDC_PRINT_ASPECT, o.keepAspectRatio ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(d, IDC_PRINT_GAMMA, o.gammaCorrection ? BST_CHECKED : BST_UNCHECKED);
  for (UINT id : {IDS_PRINT_FIT_TO_PAGE, IDS_PRINT_SPECIFIED_SIZE, IDS_PRINT_THUMBNAILS})
    SendDlgItemMessageA(d, IDC_PRINT_SIZE_MODE, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(LoadStringText(instance, id).c_str()));
  SendDlgItemMessageA(d, IDC_PRINT_SIZE_MODE, CB_SETCURSEL, o.sizeMode, 0);
  EnableWindow(GetDlgItem(d, IDC_PRINT_GAMMA_VALUE), o.gammaCorrection != 0);
  EnableWindow(GetDlgItem(d, IDC_PRINT_GAMMA_SPIN), o.gammaCorrection != 0);

  ReplaceZeroValues(o);
  specified_[0] = o.specifiedWidth;
  specified_[1] = o.specifiedHeight;
  thumbnail_[0] = o.thumbnailWidth;
  thumbnail_[1] = o.thumbnailHeight;
  const int pageWidthTenths = static_cast<int>(10LL * s_.page.width / s_.page.ppiX);
  const int pageHeightTenths = static_cast<int>(10LL * s_.page.height / s_.page.ppiY);
  SetSpinRange(d, IDC_PRINT_TOP_SPIN, 0, pageHeightTenths);
  SetSpinRange(d, IDC_PRINT_BOTTOM_SPIN, 0, pageHeightTenths);
  SetSpinRange(d, IDC_PRINT_LEFT_SPIN, 0, pageWidthTenths);
  SetSpinRange(d, IDC_PRINT_RIGHT_SPIN, 0, pageWidthTenths);
  SetSpinRange(d, IDC_PRINT_WIDTH_SPIN, 0, pageWidthTenths);
  SetSpinRange(d, IDC_PRINT_HEIGHT_SPIN, 0, pageHeightTenths);
  SetSpinRange(d, IDC_PRINT_RESOLUTION_SPIN, 10, 1200);
  SetSpinRange(d, IDC_PRINT_GAMMA_SPIN, 1, 30);
  SetSpinRange(d, IDC_PRINT_PAGE_SPIN, 1, 1);
  SetDecimal(IDC_PRINT_TOP, o.topMargin);
  SetDecimal(IDC_PRINT_LEFT, o.leftMargin);
  SetDecimal(IDC_PRINT_RIGHT, o.rightMargin);
  SetDecimal(IDC_PRINT_BOTTOM, o.bottomMargin);
  SetDecimal(IDC_PRINT_GAMMA_VALUE, o.gammaValue);
  SetDlgItemInt(d, IDC_PRINT_RESOLUTION, static_cast<UINT>(std::max<int>(o.renderingDpi, 0)), FALSE);
  FillSizeFields();
  ApplySizeMode();
  SetDlgItemInt(d, IDC_PRINT_PAGE, 1, FALSE);
  PostMessageA(d, kStart, 0, 0);
}

void PrintSetupDialog::FillSizeFields() {
  const float* pair = SizeMode() == kThumbnails ? thumbnail_ : specified_;
  const float width = pair[0], height = pair[1];  // filling the first field may recache the pair
  SetDecimal(IDC_PRINT_WIDTH, width);
  SetDecimal(IDC_PRINT_HEIGHT, height);
}

void PrintSetupDialog::ApplySizeMode() {
  HWND d = dialog();
  const int mode = SizeMode();
  for (int id : kSizeControls) ShowWindow(GetDlgItem(d, id), mode == kFitToPage ? SW_HIDE : SW_SHOW);
  EnableWindow(GetDlgItem(d, IDC_PRINT_DESCRIPTION), mode != kThumbnails);
  const bool wasReady = ready_;
  ready_ = false;  // one pagination for the whole change
  FillSizeFields();
  ready_ = wasReady;
  Repaginate();
}

INT_PTR PrintSetupDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;
    case kStart:
      ready_ = true;
      Repaginate();
      return TRUE;
    case kPaginationFinishedMessage:
      // A run stopped since it posted this is not the one on show.
      if (pagination_.isCurrent(static_cast<long>(wParam))) OnPaginationFinished();
      return TRUE;
    case kPageReady:
      RepaintPreview();
      return TRUE;
    case WM_VSCROLL:
      if (LOWORD(wParam) == SB_THUMBPOSITION) OnSpin(reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_HELP:
      ShowHelpContents(dialog(), kPrintSetupHelpPage);
      return TRUE;
  }
  return FALSE;
}

void PrintSetupDialog::OnCommand(int id, int code) {
  HWND d = dialog();
  if (code == EN_CHANGE) {
    OnFieldChanged(id);
    return;
  }
  if (id == IDC_PRINT_SIZE_MODE) {
    if (code == CBN_SELCHANGE) ApplySizeMode();
    return;
  }
  if (code != BN_CLICKED) return;
  if (id >= IDC_PRINT_POSITION_FIRST && id < IDC_PRINT_POSITION_FIRST + 9) {
    Repaginate();
    return;
  }
  switch (id) {
    case IDC_PRINT_ASPECT:
    case IDC_PRINT_NUMBER:
    case IDC_PRINT_DATE:
    case IDC_PRINT_CAPTION:
    case IDC_PRINT_DESCRIPTION:
    case IDC_PRINT_PHOTOGRAPHER:
      Repaginate();
      break;
    case IDC_PRINT_GAMMA: {
      const bool on = Checked(d, IDC_PRINT_GAMMA);
      EnableWindow(GetDlgItem(d, IDC_PRINT_GAMMA_VALUE), on);
      EnableWindow(GetDlgItem(d, IDC_PRINT_GAMMA_SPIN), on);
      s_.ReleaseBitmaps();
      RepaintPreview();
      break;
    }
    case IDC_PRINT_SAVE:
      if (Validate(false))
        s_.stored = s_.working;
      else
        MessageBeep(MB_ICONQUESTION);
      break;
    case IDOK:
      if (!Validate(true)) break;
      StopPagination();  // the job lays the pages out again from the confirmed options
      end(1);
      break;
    case IDCANCEL:
      StopPagination();
      ShowWindow(GetDlgItem(d, IDC_PRINT_PAGINATING), SW_HIDE);
      end(2);
      break;
  }
}

void PrintSetupDialog::OnFieldChanged(int id) {
  HWND d = dialog();
  const int spin = SpinOf(id);
  if (!spin) return;
  const std::string text = FieldText(d, id);
  if (id == IDC_PRINT_RESOLUTION) {
    SetSpinPosition(d, spin, std::atoll(text.c_str()));
    return;
  }
  if (id == IDC_PRINT_PAGE) {
    ShowPage(std::atoi(text.c_str()));
    return;
  }
  const double value = ParseDecimal(text, separator_);
  if (id == IDC_PRINT_WIDTH || id == IDC_PRINT_HEIGHT) {
    float* pair = SizeMode() == kThumbnails ? thumbnail_ : specified_;
    pair[id == IDC_PRINT_WIDTH ? 0 : 1] = static_cast<float>(value);
  }
  SetSpinPosition(d, spin, std::llround(value * 10));
  if (!preview_) return;
  if (id == IDC_PRINT_GAMMA_VALUE) {
    s_.ReleaseBitmaps();
    RepaintPreview();
    return;
  }
  Repaginate();
}

void PrintSetupDialog::OnSpin(HWND spin) {
  HWND d = dialog();
  const int spinId = GetDlgCtrlID(spin);
  const int buddy = BuddyOf(spinId);
  if (!buddy) return;
  const int position = static_cast<int>(SendMessageA(spin, UDM_GETPOS32, 0, 0));
  if (buddy == IDC_PRINT_RESOLUTION || buddy == IDC_PRINT_PAGE)
    SetDlgItemInt(d, buddy, static_cast<UINT>(position), FALSE);
  else
    SetDecimal(buddy, position / 10.0);
}

void PrintSetupDialog::ShowPage(int page) {
  pageOnShow_ = page;
  SetSpinPosition(dialog(), IDC_PRINT_PAGE_SPIN, page);
  RepaintPreview();
}

bool PrintSetupDialog::ReadDecimal(int field, ValueRange range, bool withMessages, float* value) {
  HWND d = dialog();
  const double read = ParseDecimal(FieldText(d, field), separator_);
  if (range.Contains(read)) {
    *value = static_cast<float>(read);
    return true;
  }
  if (withMessages) {
    char text[300] = "";
    FormatStringId(text, sizeof text, s_.request->instance, IDS_PRINT_OUT_OF_RANGE, range.low, range.high);
    MessageBoxA(d, text, kAppName, MB_OK | MB_ICONWARNING);
    SetFocus(GetDlgItem(d, field));
    SendDlgItemMessageA(d, field, EM_SETSEL, 0, -1);
  }
  return false;
}

bool PrintSetupDialog::Validate(bool withMessages) {
  HWND d = dialog();
  PrintOptions& o = s_.working;
  for (int i = 0; i < 9; ++i)
    if (Checked(d, IDC_PRINT_POSITION_FIRST + i)) o.position = static_cast<std::uint8_t>(i);
  o.showPhotoNumber = Checked(d, IDC_PRINT_NUMBER);
  o.showDate = Checked(d, IDC_PRINT_DATE);
  o.captionChoice = Checked(d, IDC_PRINT_CAPTION);
  o.descriptionChoice = Checked(d, IDC_PRINT_DESCRIPTION);
  o.photographerChoice = Checked(d, IDC_PRINT_PHOTOGRAPHER);
  o.keepAspectRatio = Checked(d, IDC_PRINT_ASPECT);
  o.sizeMode = static_cast<std::uint8_t>(SizeMode());
  o.gammaCorrection = Checked(d, IDC_PRINT_GAMMA);

  BOOL isNumber = FALSE;
  const UINT dpi = GetDlgItemInt(d, IDC_PRINT_RESOLUTION, &isNumber, FALSE);
  if (!isNumber || dpi == 0 || dpi > 32767) return false;  // the record keeps 16 bits
  o.renderingDpi = static_cast<std::int16_t>(dpi);

  // Packed fields: read into a local, then store.
  float value = 0;
  if (!ReadDecimal(IDC_PRINT_TOP, kMarginRange, withMessages, &value)) return false;
  o.topMargin = value;
  if (!ReadDecimal(IDC_PRINT_LEFT, kMarginRange, withMessages, &value)) return false;
  o.leftMargin = value;
  if (!ReadDecimal(IDC_PRINT_RIGHT, kMarginRange, withMessages, &value)) return false;
  o.rightMargin = value;
  if (!ReadDecimal(IDC_PRINT_BOTTOM, kMarginRange, withMessages, &value)) return false;
  o.bottomMargin = value;
  if (o.gammaCorrection) {  // a disabled field cannot be put right, so it is only read when in use
    if (!ReadDecimal(IDC_PRINT_GAMMA_VALUE, kGammaRange, withMessages, &value)) return false;
    o.gammaValue = value;
  }
  if (o.sizeMode != kFitToPage) {
    float* pair = o.sizeMode == kThumbnails ? thumbnail_ : specified_;
    if (!ReadDecimal(IDC_PRINT_WIDTH, kSizeRange, withMessages, &pair[0])) return false;
    if (!ReadDecimal(IDC_PRINT_HEIGHT, kSizeRange, withMessages, &pair[1])) return false;
  }
  o.specifiedWidth = specified_[0];
  o.specifiedHeight = specified_[1];
  o.thumbnailWidth = thumbnail_[0];
  o.thumbnailHeight = thumbnail_[1];
  return MarginsLeaveRoom(o, s_.page);
}

void PrintSetupDialog::StopPagination() {
  pagination_.stop();
  paginating_ = false;
}

void PrintSetupDialog::Repaginate() {
  if (!ready_) return;
  HWND d = dialog();
  if (paginating_) {
    StopPagination();
    ShowWindow(GetDlgItem(d, IDC_PRINT_PAGINATING), SW_HIDE);
  }
  UpdateWindow(d);
  Validate(false);
  threadOptions_ = s_.working;
  s_.pages.reset(s_.photos.size());
  SetDlgItemTextA(d, IDC_PRINT_PAGE_COUNT, "?");
  if (!pagination_.start([this, d](long generation) { RunPagination(d, generation); }, THREAD_PRIORITY_BELOW_NORMAL))
    return;
  paginating_ = true;
  ShowWindow(GetDlgItem(d, IDC_PRINT_PAGINATING), SW_SHOW);
}

// On the worker: lays the pages out and, unless stopped, says so with the run's generation.
void PrintSetupDialog::RunPagination(HWND d, long generation) {
  PaginationSignals signals;
  signals.stop = &pagination_.stopFlag();
  signals.pageOnShow = &pageOnShow_;
  signals.pageReady = [d] { PostMessageA(d, kPageReady, 0, 0); };
  if (print::Paginate(threadOptions_, s_.page, s_.photos, s_.selection, s_.pages, signals))
    PostMessageA(d, kPaginationFinishedMessage, static_cast<WPARAM>(generation), 0);
}

void PrintSetupDialog::OnPaginationFinished() {
  HWND d = dialog();
  StopPagination();  // it posted this as its last act
  const int count = s_.pages.count();
  SetDlgItemInt(d, IDC_PRINT_PAGE_COUNT, static_cast<UINT>(count), FALSE);
  SetSpinRange(d, IDC_PRINT_PAGE_SPIN, 1, std::max(count, 1));
  if (pageOnShow_ > count && count > 0) SetDlgItemInt(d, IDC_PRINT_PAGE, static_cast<UINT>(count), FALSE);
  RepaintPreview();
  ShowWindow(GetDlgItem(d, IDC_PRINT_PAGINATING), SW_HIDE);
}

int PrintSetupDialog::PaintablePage() const {
  const int count = s_.pages.count();
  const int page = pageOnShow_;
  if (page < 1 || page > count) return -1;
  // While the layout runs only pages already completed are safe to read.
  return !paginating_ || page < count ? page - 1 : -1;
}

void PrintSetupDialog::RepaintPreview() {
  if (preview_) preview_->Repaint();
}

}  // namespace print
