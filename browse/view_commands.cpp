// The browse window's View and Slide show commands: a viewer window on the
// focused photo with the whole disc, or on the selected photos; the slide show
// first shows its notice, then runs full-screen in a new viewer.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "browse/browse_text.h"
#include "browse/browse_window.h"
#include "imagefile/image_errors.h"
#include "photocd/pcd_file.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "ui/modal_dialog_win.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"
#include "viewer/viewer_link.h"

namespace {

// Dialog 113: "You are about to enter slide show mode..." with a box that turns
// the notice off for good.
class SlideShowNotice : public ModalDialog {
 protected:
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM) override {
    switch (message) {
      case WM_INITDIALOG:
        SendDlgItemMessageA(dialog(), IDC_NOTICE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(g_mainIcon), 0);
        CentreWindow(dialog(), GetWindow(dialog(), GW_OWNER));
        return TRUE;
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
          g_settings.ShowEnterSSMsg = IsDlgButtonChecked(dialog(), IDC_NOTICE_DONT_SHOW) == BST_CHECKED ? 0 : 1;
          end(IDOK);
          return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
          end(IDCANCEL);
          return TRUE;
        }
        break;
    }
    return FALSE;
  }
};

ViewerPhoto Entry(const browse::PhotoItem& photo) {
  return ViewerPhoto{photo.index, photo.path, photo.info.date, photo.info.nominalWidth, photo.info.nominalHeight,
                     &photo.thumbnail, photo.name};
}

}  // namespace

browse::PhotoItem* BrowseWindow::ListPhoto(int item) const {
  if (!list_ || item < 0) return nullptr;
  LVITEMA query = {};
  query.mask = LVIF_PARAM;
  query.iItem = item;
  SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
  return reinterpret_cast<browse::PhotoItem*>(query.lParam);
}

bool BrowseWindow::View() {
  const int focusedItem =
      list_ ? static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)) : -1;
  browse::PhotoItem* focused = ListPhoto(focusedItem);
  if (!focused) return false;
  if (!PcdFileExists(focused->path.c_str())) {
    CannotOpenImageBox(g_instance, frame_, focused->path, imagefile::kImageFileMissing);
    return false;
  }
  std::vector<ViewerPhoto> selection;
  for (int item = -1;
       (item = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(item), LVNI_SELECTED))) >= 0;)
    if (browse::PhotoItem* photo = ListPhoto(item)) selection.push_back(Entry(*photo));
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));

  std::vector<ViewerPhoto> photos = selection;
  int start = 0;
  if (selection.size() <= 1) {
    photos.clear();
    for (std::size_t i = 0; i < photos_.Count(); ++i) {
      if (photos_[i] == focused) start = static_cast<int>(i);
      photos.push_back(Entry(*photos_[i]));
    }
  }
  std::unique_ptr<ViewerLink> viewer = CreateViewer(frame_, busy_);
  const bool opened = viewer && viewer->Open(photos, start);
  if (opened) viewers_.Append(viewer.release());
  SetCursor(old ? old : LoadCursor(nullptr, IDC_ARROW));
  return opened;
}

void BrowseWindow::StartSlideShow() {
  if (g_settings.ShowEnterSSMsg) {
    SlideShowNotice notice;
    notice.run(g_instance, frame_, IDD_SLIDE_SHOW_NOTICE);
  }
  if (View()) viewers_.Last()->StartFullScreenSlideShow();
}
