#include <windows.h>

#include "export/option_dialogs_win.h"
#include "export/options_dialog_win.h"

namespace imagefile {
namespace {

const DWORD kHelpIds[] = {
    IDC_TIFF_NONE,    737, IDC_TIFF_CCITT3, 738, IDC_TIFF_CCITT4,      739, IDC_TIFF_LZW,  740,
    IDC_TIFF_DEFLATE, 741, IDC_TIFF_JPEG,   742, IDC_TIFF_DPI_X,       743, IDC_TIFF_DPI_Y, 744,
    IDC_SAVE_AS_DEFAULTS, 726, IDC_RESET_ALL, 727, 0, kFormatOptionsHelpTopic};

// The compression buttons are IDC_TIFF_NONE + index.
constexpr int kLastCompressionButton = IDC_TIFF_NONE + kTiffCompressionCount - 1;

class TiffOptionsDialog final : public OptionsDialog<TiffOptions> {
 public:
  explicit TiffOptionsDialog(TiffOptions* block) : OptionsDialog(block, kHelpIds) {}

 private:
  // An index outside the table checks no button.
  void show(const TiffOptions& values) override {
    CheckRadioButton(dialog(), IDC_TIFF_NONE, kLastCompressionButton, IDC_TIFF_NONE + values.compression);
    SetDlgItemInt(dialog(), IDC_TIFF_DPI_X, values.xDpi, FALSE);
    SetDlgItemInt(dialog(), IDC_TIFF_DPI_Y, values.yDpi, FALSE);
  }

  // With no button checked the index stays as it was. A field that is not a
  // number gives 0.
  void read(TiffOptions* values) override {
    for (int button = IDC_TIFF_NONE; button <= kLastCompressionButton; ++button) {
      if (IsDlgButtonChecked(dialog(), button) == BST_CHECKED) {
        values->compression = button - IDC_TIFF_NONE;
        break;
      }
    }
    values->xDpi = GetDlgItemInt(dialog(), IDC_TIFF_DPI_X, nullptr, FALSE);
    values->yDpi = GetDlgItemInt(dialog(), IDC_TIFF_DPI_Y, nullptr, FALSE);
  }
};

}  // namespace

int RunTiffOptionsDialog(HINSTANCE instance, HWND owner, TiffOptions* block) {
  TiffOptionsDialog dialog(block);
  return static_cast<int>(dialog.run(instance, owner, IDD_TIFF_OPTIONS));
}

}  // namespace imagefile
