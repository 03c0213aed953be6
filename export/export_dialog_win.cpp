#include "export/export_dialog_win.h"

#include "export/export_plan.h"
#include "export/option_dialogs_win.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "ui/help_win.h"
#include "ui/modal_dialog_win.h"
#include "ui/path_utils.h"
#include "ui/ui_utils_win.h"

namespace imagefile {
namespace {

constexpr char kRecentFolders[] = "MRUExportPaths";
constexpr std::size_t kRecentFolderCount = 20;
constexpr int kHelpTopic = 2;

const DWORD kHelpIds[] = {
    IDC_EXPORT_RESOLUTION, 701, IDC_EXPORT_FORMAT,       702, IDC_EXPORT_OPTIONS,      700,
    IDC_EXPORT_ROTATE_NONE, 703, IDC_EXPORT_ROTATE_LEFT, 704, IDC_EXPORT_ROTATE_RIGHT, 705,
    IDC_EXPORT_ROTATE_180, 706, IDC_EXPORT_FOLDER,       707, IDC_EXPORT_BROWSE,       708,
    0, kExportHelpTopic};

struct RotationButton {
  int control;
  int icon;
  imaging::QuarterTurns turn;
};
const RotationButton kRotationButtons[] = {
    {IDC_EXPORT_ROTATE_NONE, IDI_ROTATE_NONE, imaging::kNoTurn},
    {IDC_EXPORT_ROTATE_LEFT, IDI_ROTATE_LEFT, imaging::kTurnLeft},
    {IDC_EXPORT_ROTATE_RIGHT, IDI_ROTATE_RIGHT, imaging::kTurnRight},
    {IDC_EXPORT_ROTATE_180, IDI_ROTATE_180, imaging::kHalfTurn},
};

class ExportDialog final : public ModalDialog {
 public:
  ExportDialog(HINSTANCE instance, ExportDialogParams* params) : instance_(instance), params_(params) {}

 private:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_INITDIALOG:
        setUp();
        return TRUE;
      case WM_COMMAND:
        return onCommand(LOWORD(wParam), HIWORD(wParam));
      case WM_HELP:
      case WM_CONTEXTMENU:
        return HandleControlHelp(message, wParam, lParam, kHelpIds);
    }
    return FALSE;
  }

  void setUp() {
    const ExportOptions& options = *params_->options;
    for (const char* text : kResolutionTexts) add(IDC_EXPORT_RESOLUTION, text);
    send(IDC_EXPORT_RESOLUTION, CB_SETCURSEL, options.resolutionIndex, 0);
    for (const RotationButton& button : kRotationButtons) {
      HANDLE icon = LoadImageA(instance_, MAKEINTRESOURCEA(button.icon), IMAGE_ICON, 32, 32, LR_SHARED);
      send(button.control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
      if (button.turn == params_->turn)
        CheckRadioButton(dialog(), IDC_EXPORT_ROTATE_NONE, IDC_EXPORT_ROTATE_180, button.control);
    }
    for (const ExportFormat& format : kExportFormats) add(IDC_EXPORT_FORMAT, format.listText);
    send(IDC_EXPORT_FORMAT, CB_SETCURSEL, ExportFormatRow(options.format), 0);
    enableOptions();
    LoadMruCombo(GetDlgItem(dialog(), IDC_EXPORT_FOLDER), kSettingsKeyPath, kRecentFolders);
    CentreWindow(dialog());
  }

  INT_PTR onCommand(int id, int code) {
    switch (id) {
      case IDC_EXPORT_FORMAT:
        if (code == CBN_SELCHANGE) enableOptions();
        return TRUE;
      case IDC_EXPORT_OPTIONS:
        runOptions();
        return TRUE;
      case IDC_EXPORT_BROWSE:
        browse();
        return TRUE;
      case IDOK:
        accept();
        return TRUE;
      case IDCANCEL:
        end(IDCANCEL);
        return TRUE;
      case IDHELP:
        ShowHelpTopic(dialog(), kHelpTopic);
        return TRUE;
    }
    return FALSE;
  }

  const ExportFormat& chosenFormat() {
    LRESULT row = send(IDC_EXPORT_FORMAT, CB_GETCURSEL, 0, 0);
    return kExportFormats[row >= 0 && row < kExportFormatCount ? row : 0];
  }

  void enableOptions() { EnableWindow(GetDlgItem(dialog(), IDC_EXPORT_OPTIONS), chosenFormat().hasOptions); }

  void runOptions() {
    ExportOptions& options = *params_->options;
    int id = chosenFormat().id;
    if (id == kFormatJpeg && InterpretOptionDialogResult(RunJpegOptionsDialog(instance_, dialog(), &options.jpeg)).saveAsDefaults)
      params_->keepFlags |= kKeepJpegOptions;
    if (id == kFormatTiff && InterpretOptionDialogResult(RunTiffOptionsDialog(instance_, dialog(), &options.tiff)).saveAsDefaults)
      params_->keepFlags |= kKeepTiffOptions;
  }

  void browse() {
    char path[MAX_PATH] = "";
    GetDlgItemTextA(dialog(), IDC_EXPORT_FOLDER, path, MAX_PATH);
    if (BrowseForFolder(dialog(), path, LoadStringText(instance_, IDS_EXPORT_BROWSE_TITLE).c_str())) {
      send(IDC_EXPORT_FOLDER, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      SetDlgItemTextA(dialog(), IDC_EXPORT_FOLDER, path);
    }
  }

  void accept() {
    HWND combo = GetDlgItem(dialog(), IDC_EXPORT_FOLDER);
    char text[MAX_PATH] = "";
    GetWindowTextA(combo, text, MAX_PATH);
    if (UINT problem = ExportFolderProblem(text)) {
      MessageFromStrings(instance_, dialog(), problem, IDS_PROGRAM_CAPTION, MB_OK);
      SetFocus(combo);
      send(IDC_EXPORT_FOLDER, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
      return;
    }
    params_->folder = text;
    SaveMruCombo(combo, true, kRecentFolderCount, 0, kSettingsKeyPath, kRecentFolders);
    ExportOptions& options = *params_->options;
    for (const RotationButton& button : kRotationButtons)
      if (IsDlgButtonChecked(dialog(), button.control) == BST_CHECKED) params_->turn = button.turn;
    options.format = chosenFormat().id;
    LRESULT resolution = send(IDC_EXPORT_RESOLUTION, CB_GETCURSEL, 0, 0);
    if (resolution >= 0) options.resolutionIndex = static_cast<int>(resolution);
    end(IDOK);
  }

  void add(int id, const char* text) { send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }
  LRESULT send(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(dialog(), id, message, wParam, lParam);
  }

  HINSTANCE instance_;
  ExportDialogParams* params_;
};

bool VolumeWritable(const std::string& folder) {
  char full[MAX_PATH];
  DWORD length = GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
  std::string root;
  if (length == 0 || length >= MAX_PATH || !VolumeRoot(full, &root)) return false;
  if (GetDriveTypeA(root.c_str()) == DRIVE_CDROM) return false;
  DWORD flags = 0;
  if (GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
      (flags & FILE_READ_ONLY_VOLUME))
    return false;
  return true;
}

// Makes and removes an empty file: the only sure test that the folder takes files.
bool FolderTakesFiles(const std::string& folder) {
  char probe[MAX_PATH];
  if (!GetTempFileNameA(folder.c_str(), "lvx", 0, probe)) return false;
  DeleteFileA(probe);
  return true;
}

}  // namespace

UINT ExportFolderProblem(const std::string& folder) {
  DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return folder.empty() ? IDS_EXPORT_NO_FOLDER : IDS_EXPORT_FOLDER_MISSING;
  if (!VolumeWritable(folder) || !FolderTakesFiles(folder)) return IDS_EXPORT_FOLDER_READ_ONLY;
  return 0;
}

INT_PTR RunExportDialog(HINSTANCE instance, HWND owner, ExportDialogParams* params) {
  ExportDialog dialog(instance, params);
  return dialog.run(instance, owner, IDD_EXPORT);
}

}  // namespace imagefile
