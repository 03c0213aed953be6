// The photo properties sheet of sample-disc photos, opened from the browse
// window and directly; every value is read back from the pages' controls.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "properties/photo_properties_win.h"
#include "resources/command_ids.h"
#include "tests/browse/browse_test_support.h"
#include "tests/support/screenshot_win.h"
#include "tests/support/timed_script_win.h"

namespace {

constexpr char kCaption[] = "Photo properties";
const int kLevelBoxes[] = {IDC_PROP_BASE_64, IDC_PROP_BASE_16, IDC_PROP_BASE_4, IDC_PROP_BASE,
                           IDC_PROP_4BASE,   IDC_PROP_16BASE,  IDC_PROP_64BASE};

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

// What a page shows: control texts and level box states by control id.
struct PageView {
  std::map<int, std::string> text;
  std::map<int, int> box;
  bool copyrightEnabled = false;
};

PageView Read(HWND page) {
  PageView view;
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char text[128] = "";
    GetWindowTextA(child, text, sizeof text);
    view.text[GetDlgCtrlID(child)] = text;
  }
  for (int id : kLevelBoxes) view.box[id] = static_cast<int>(SendDlgItemMessageA(page, id, BM_GETCHECK, 0, 0));
  view.copyrightEnabled = IsWindowEnabled(GetDlgItem(page, IDC_PROP_COPYRIGHT));
  return view;
}

class PropertiesTest : public BrowseWindowTest {};

TEST_F(PropertiesTest, TheFocusedPhotosPagesShowItsScanMediumLaboratoryAndLevels) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 20000));
  LVITEMA state = {};
  state.stateMask = state.state = LVIS_FOCUSED | LVIS_SELECTED;
  SendMessageA(window_.list(), LVM_SETITEMSTATE, 3, reinterpret_cast<LPARAM>(&state));  // photo 4: 64BASE

  PageView image, laboratory;
  HWND sheet = nullptr;
  TimedScript script({
      [&] {
        sheet = TimedScript::FindDialog(kCaption);
        if (!sheet) return false;
        image = Read(CurrentPage(sheet));
        SaveScreenshot(sheet, "properties-image");
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        return true;
      },
      [&] {
        laboratory = Read(CurrentPage(sheet));
        SaveScreenshot(sheet, "properties-laboratory");
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return true;
      },
  });
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_PROPERTIES, 0);
  ASSERT_TRUE(script.finished()) << "stopped before step " << script.stepsDone() + 1;

  EXPECT_EQ("4", image.text[IDC_PROP_NUMBER]);
  EXPECT_EQ("1.25", image.text[IDC_PROP_MAGNIFICATION]);
  EXPECT_EQ("Color negative", image.text[IDC_PROP_MEDIA_TYPE]);
  EXPECT_EQ("35mm colour negative", image.text[IDC_PROP_MEDIA_INFO]);
  EXPECT_EQ("n/a", image.text[IDC_PROP_IMAGE_ID]);
  EXPECT_NE(std::string::npos, image.text[IDC_PROP_SCAN_TIME].find("1996")) << image.text[IDC_PROP_SCAN_TIME];
  EXPECT_FALSE(image.copyrightEnabled);
  // Up to 16 BASE from the pack itself, 64 BASE from its extension folder.
  for (int level = 0; level < 7; ++level) EXPECT_EQ(BST_CHECKED, image.box[kLevelBoxes[level]]) << level;

  EXPECT_EQ("Lumivexa Film Laboratory, Harbour Street 12", laboratory.text[IDC_PROP_PHOTOFINISHER]);
  EXPECT_EQ("1.00", laboratory.text[IDC_PROP_DISC_VERSION]);
  EXPECT_EQ("Quorvant Imaging", laboratory.text[IDC_PROP_VENDOR]);
  EXPECT_EQ("FS-2000 Scanner", laboratory.text[IDC_PROP_PRODUCT]);
  EXPECT_EQ("3.12", laboratory.text[IDC_PROP_FIRMWARE_VERSION]);
  EXPECT_EQ("09/11/95", laboratory.text[IDC_PROP_FIRMWARE_DATE]);
  EXPECT_EQ("QF2000-118273", laboratory.text[IDC_PROP_SERIAL]);
  EXPECT_EQ("6.00 microns", laboratory.text[IDC_PROP_PIXEL_SIZE]);
  EXPECT_EQ("Quorvant PIW 4200", laboratory.text[IDC_PROP_WORKSTATION]);
}

TEST_F(PropertiesTest, TheNextSheetOpensOnTheLastPageAndA4BasePhotoHasNoHigherLevels) {
  // Leaves the Laboratory page as the last one shown.
  const PropertiesPhoto first{0, "D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD", nullptr};
  TimedScript toLaboratory({
      [&] {
        HWND sheet = TimedScript::FindDialog(kCaption);
        if (!sheet) return false;
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return true;
      },
  });
  ASSERT_TRUE(ShowPhotoProperties(GetModuleHandleA(nullptr), nullptr, &first));

  const PropertiesPhoto eighth{7, "D:\\PHOTO_CD\\IMAGES\\IMG0008.PCD", nullptr};
  std::string startPage;
  PageView image;
  TimedScript script({
      [&] {
        HWND sheet = TimedScript::FindDialog(kCaption);
        if (!sheet) return false;
        char title[64] = "";
        GetWindowTextA(CurrentPage(sheet), title, sizeof title);
        startPage = title;
        SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
        image = Read(CurrentPage(sheet));
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        return true;
      },
  });
  ASSERT_TRUE(ShowPhotoProperties(GetModuleHandleA(nullptr), nullptr, &eighth));
  ASSERT_TRUE(script.finished());
  EXPECT_EQ("Laboratory", startPage);
  EXPECT_EQ("8", image.text[IDC_PROP_NUMBER]);
  const int expected[] = {BST_CHECKED, BST_CHECKED, BST_CHECKED, BST_CHECKED, BST_CHECKED, BST_UNCHECKED, BST_UNCHECKED};
  for (int level = 0; level < 7; ++level) EXPECT_EQ(expected[level], image.box[kLevelBoxes[level]]) << level;
}

}  // namespace
