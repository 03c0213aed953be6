#include "properties/photo_properties_win.h"

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "imagefile/image_reader.h"
#include "imaging/packed_dib.h"
#include "photocd/image_decode.h"
#include "photocd/image_pack.h"
#include "photocd/properties/photo_properties_text.h"
#include "resources/resource_ids.h"
#include "ui/disc_time_win.h"
#include "ui/help_win.h"
#include "ui/property_sheet_win.h"
#include "ui/ui_utils_win.h"
#include "ui/wait_cursor_win.h"
#include "viewer/image_view.h"

namespace {

// The page the next sheet opens on (0 Image, 1 Laboratory): the one a sheet
// showed last when it closed.
int g_nextPage = 0;

// What the pages of one sheet share; another sheet (from another window, or
// nested) has its own.
struct SheetState {
  int page = 0;          // the page on show
  bool centred = false;  // a page has centred the sheet
};

constexpr int kPictureMargin = 5;  // around the thumbnail on each side

// Level boxes from BASE/64 up.
const int kLevelBoxes[] = {IDC_PROP_BASE_64, IDC_PROP_BASE_16, IDC_PROP_BASE_4, IDC_PROP_BASE,
                           IDC_PROP_4BASE,   IDC_PROP_16BASE,  IDC_PROP_64BASE};

// An image pack open for the length of a scope; null when it could not be opened.
class OpenPack {
 public:
  explicit OpenPack(const std::string& path) {
    if (PcdOpenImagePack(path.c_str(), pack_) != kPcdOk) pack_ = nullptr;
  }
  ~OpenPack() {
    if (pack_) PcdCloseImagePack(pack_);
  }
  OpenPack(const OpenPack&) = delete;
  OpenPack& operator=(const OpenPack&) = delete;
  ImagePack* get() const { return pack_; }
  bool info(ImagePackInfo* info) const { return pack_ && PcdGetImageInfo(pack_, *info) == kPcdOk; }

 private:
  ImagePack* pack_ = nullptr;
};

class PhotoPage : public PropertyPage {
 protected:
  PhotoPage(HINSTANCE instance, const PropertiesPhoto& photo, SheetState& sheet, int number)
      : instance_(instance), photo_(photo), sheet_(sheet), number_(number) {}

  virtual void initialise() = 0;
  virtual INT_PTR handleOther(UINT message, WPARAM wParam, LPARAM lParam) { return FALSE; }

  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_INITDIALOG:
        if (!sheet_.centred) {
          CentreWindow(sheet());
          sheet_.centred = true;
        }
        initialise();
        return TRUE;
      case WM_NOTIFY:
        switch (reinterpret_cast<NMHDR*>(lParam)->code) {
          case PSN_SETACTIVE:
            sheet_.page = number_;
            return Answer(0);
          case PSN_KILLACTIVE:
          case PSN_APPLY:
            return Answer(FALSE);
        }
        return FALSE;
      case WM_HELP:
        ShowHelpContents(sheet(), kPropertiesHelpPage);
        return TRUE;
    }
    return handleOther(message, wParam, lParam);
  }

  void SetText(int control, const std::string& text) const { SetDlgItemTextA(page(), control, text.c_str()); }
  // The text, or "n/a" when it is empty.
  void SetValue(int control, const std::string& text) const { SetText(control, text.empty() ? notAvailable() : text); }
  std::string notAvailable() const { return LoadStringText(instance_, IDS_NOT_AVAILABLE); }

  HINSTANCE instance_;
  const PropertiesPhoto& photo_;

 private:
  SheetState& sheet_;
  int number_;
};

class ImagePage final : public PhotoPage {
 public:
  ImagePage(HINSTANCE instance, const PropertiesPhoto& photo, SheetState& sheet)
      : PhotoPage(instance, photo, sheet, 0) {}

 private:
  void initialise() override {
    SetText(IDC_PROP_NUMBER, std::to_string(photo_.index + 1) + (photo_.name.empty() ? "" : "  " + photo_.name));
    for (int control : {IDC_PROP_IMAGE_ID, IDC_PROP_MAGNIFICATION, IDC_PROP_MEDIA_INFO, IDC_PROP_MEDIA_TYPE,
                        IDC_PROP_SCAN_TIME, IDC_PROP_MODIFIED_TIME})
      SetValue(control, std::string());
    EnableWindow(GetDlgItem(page(), IDC_PROP_COPYRIGHT), FALSE);
    placePicture();

    OpenPack pack(photo_.path);
    if (!pack.get()) return;
    ImagePackInfo info{};
    if (pack.info(&info)) {
      SetValue(IDC_PROP_MAGNIFICATION, pcdprops::FormatRecordedPair(info.magnification));
      SetText(IDC_PROP_SCAN_TIME, DiscTimeText(info.scanTime));
      SetText(IDC_PROP_MODIFIED_TIME, DiscTimeText(info.modificationTime));
      SetText(IDC_PROP_MEDIA_TYPE, LoadStringText(instance_, pcdprops::MediaTypeStringId(info.mediaType)));
      SetValue(IDC_PROP_MEDIA_INFO, pcdprops::FieldText(info.mediaInfo));
      EnableWindow(GetDlgItem(page(), IDC_PROP_COPYRIGHT), info.rightsStatus == 1);
    }
    std::uint16_t mask = 0;
    int count = 0;
    if (PcdGetResolutionMask(pack.get(), mask, count) != kPcdOk) return;
    std::uint8_t flags[2] = {0, 0};
    if (PcdGetExtensionFlags(pack.get(), flags) != kPcdOk) flags[0] = flags[1] = 0;
    for (int level = 0; level < 7; ++level) Send(kLevelBoxes[level], BM_SETCHECK, pcdprops::LevelBoxState(mask, flags, level));
  }

  // The thumbnail in an image view control, inside a frame of the thumbnail's
  // size plus a margin, centred where the page's layout put the frame.
  void placePicture() {
    HWND frame = GetDlgItem(page(), IDC_PROP_PICTURE_FRAME);
    const imaging::DibHeader* header = photo_.thumbnail ? photo_.thumbnail->header() : nullptr;
    if (!frame || !header) return;
    auto reader = std::make_unique<imagefile::ImageReader>();
    auto view = std::make_unique<viewer::ImageView>();
    if (!reader->adoptPackedDibs(photo_.thumbnail, nullptr) || !view->Create(instance_, page(), IDC_PROP_PICTURE))
      return;
    view->ShowImage(reader.release(), viewer::kOwnImage | viewer::kNoRepaint);
    RECT area;
    GetWindowRect(frame, &area);
    MapWindowPoints(nullptr, page(), reinterpret_cast<POINT*>(&area), 2);
    const SIZE shown = view->DisplaySize();
    const int width = shown.cx + 2 * kPictureMargin, height = shown.cy + 2 * kPictureMargin;
    const int left = (area.left + area.right - width) / 2, top = (area.top + area.bottom - height) / 2;
    MoveWindow(frame, left, top, width, height, FALSE);
    view->Place(left + kPictureMargin, top + kPictureMargin, shown.cx, shown.cy);
    view_ = std::move(view);
  }

  INT_PTR handleOther(UINT message, WPARAM wParam, LPARAM) override {
    if (message == WM_DESTROY) {
      view_.reset();  // the view's window and its thumbnail go with the page
      return FALSE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_PROP_COPYRIGHT && HIWORD(wParam) == BN_CLICKED) {
      openRightsFile();
      return TRUE;
    }
    return FALSE;
  }

  // The photo's rights file, RIGHTS\name in the disc's PHOTO_CD folder (the
  // folder above the images), in the system's text editor.
  void openRightsFile() {
    OpenPack pack(photo_.path);
    ImagePackInfo info{};
    if (!pack.info(&info)) return;
    std::string folder = photo_.path.substr(0, photo_.path.find_last_of('\\'));
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    const std::string file = folder + "RIGHTS\\" + pcdprops::FieldText(info.rightsFileName);
    WaitCursor wait;
    ShellExecuteA(GetDesktopWindow(), nullptr, "notepad.exe", file.c_str(), nullptr, SW_SHOWNORMAL);
  }

  std::unique_ptr<viewer::ImageView> view_;
};

class LaboratoryPage final : public PhotoPage {
 public:
  LaboratoryPage(HINSTANCE instance, const PropertiesPhoto& photo, SheetState& sheet)
      : PhotoPage(instance, photo, sheet, 1) {}

 private:
  void initialise() override {
    ImagePackInfo info{};
    const bool known = OpenPack(photo_.path).info(&info);
    auto value = [&](int control, const std::string& text) { SetValue(control, known ? text : std::string()); };
    value(IDC_PROP_PHOTOFINISHER, pcdprops::PhotofinisherText(info));
    value(IDC_PROP_DISC_VERSION, pcdprops::FormatByteVersion(info.discVersion));
    value(IDC_PROP_VENDOR, pcdprops::FieldText(info.scannerVendor));
    value(IDC_PROP_PRODUCT, pcdprops::FieldText(info.scannerProduct));
    value(IDC_PROP_FIRMWARE_VERSION, pcdprops::FieldText(info.scannerFirmwareVersion));
    value(IDC_PROP_FIRMWARE_DATE, pcdprops::FieldText(info.scannerFirmwareDate));
    value(IDC_PROP_SERIAL, pcdprops::FieldText(info.scannerSerial));
    value(IDC_PROP_PIXEL_SIZE, pcdprops::FormatPixelSize(info.scannerPixelSize));
    value(IDC_PROP_WORKSTATION_VERSION, pcdprops::FormatRecordedPair(info.workstationVersion));
    value(IDC_PROP_WORKSTATION, pcdprops::FieldText(info.workstationMaker));
  }
};

}  // namespace

bool ShowPhotoProperties(HINSTANCE instance, HWND parent, const PropertiesPhoto* photo) {
  if (!photo) return false;
  SheetState sheet;
  sheet.page = g_nextPage;
  ImagePage image(instance, *photo, sheet);
  LaboratoryPage laboratory(instance, *photo, sheet);
  const std::vector<PROPSHEETPAGEA> pages = {image.Describe(instance, IDD_PROPERTIES_IMAGE),
                                             laboratory.Describe(instance, IDD_PROPERTIES_LABORATORY)};
  const std::string caption = LoadStringText(instance, IDS_PROPERTIES_CAPTION);
  const bool shown = RunPropertySheet(instance, parent, caption.c_str(), pages, sheet.page) >= 0;
  g_nextPage = sheet.page;
  return shown;
}
