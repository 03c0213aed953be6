// The shared user-interface helpers on real windows, message boxes and registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "settings/settings_store_win.h"
#include "tests/support/dialog_hook_win.h"
#include "ui/mru_list.h"
#include "ui/ui_utils_win.h"

namespace {

constexpr UINT kFormatId = 9001;   // "Disc %d of %s"
constexpr UINT kCaptionId = 9002;  // "Test caption"
constexpr UINT kTextId = 9003;     // "Nothing to see"
constexpr UINT kMissingId = 9999;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

struct SeenBox {
  std::string caption, text;
};

// Runs show() while a hook records the box and presses button.
template <typename Show>
SeenBox AnswerBox(int button, int* result, Show show) {
  SeenBox seen;
  DialogHook hook([&](HWND box) {
    seen.caption = DialogHook::Text(box);
    seen.text = DialogHook::MessageText(box);
    DialogHook::Press(box, button);
  });
  *result = show();
  return seen;
}

TEST(MessageBoxesTest, TextsAndCaptionsComeFromTheStringTable) {
  int result = 0;
  SeenBox seen = AnswerBox(IDCANCEL, &result, [] {
    return MessageFromString(Instance(), nullptr, kTextId, "Lumivexa SE", MB_OKCANCEL);
  });
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ("Lumivexa SE", seen.caption);
  EXPECT_EQ("Nothing to see", seen.text);

  seen = AnswerBox(IDOK, &result, [] {
    return MessageWithCaptionId(Instance(), nullptr, "Plain text", kCaptionId, MB_OK);
  });
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ("Test caption", seen.caption);
  EXPECT_EQ("Plain text", seen.text);

  seen = AnswerBox(IDYES, &result, [] {
    return MessageFromStrings(Instance(), nullptr, kTextId, kCaptionId, MB_YESNO);
  });
  EXPECT_EQ(IDYES, result);
  EXPECT_EQ("Test caption", seen.caption);
  EXPECT_EQ("Nothing to see", seen.text);
}

TEST(MessageBoxesTest, SystemErrorBoxShowsTheLastErrorOrNothing) {
  int result = 0;
  SeenBox seen = AnswerBox(IDOK, &result, [] {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return SystemErrorBox(nullptr, "Copy failed.") ? 1 : 0;
  });
  EXPECT_EQ(1, result);
  EXPECT_EQ("Copy failed.", seen.caption);
  EXPECT_FALSE(seen.text.empty());

  int boxes = 0;
  {
    DialogHook hook([&](HWND box) {
      ++boxes;
      DialogHook::Press(box, IDOK);
    });
    SetLastError(0x20001234);  // a customer error code: the system has no text for it
    EXPECT_FALSE(SystemErrorBoxId(Instance(), nullptr, kCaptionId));
  }
  EXPECT_EQ(0, boxes);
}

TEST(StringsTest, FormatFromStringTableOrLeaveTheBufferAlone) {
  char out[64] = "untouched";
  FormatStringId(out, sizeof out, Instance(), kMissingId, 3, "D:");
  EXPECT_STREQ("untouched", out);
  FormatStringId(out, sizeof out, Instance(), kFormatId, 3, "D:");
  EXPECT_STREQ("Disc 3 of D:", out);
  char small[8];
  FormatStringId(small, sizeof small, Instance(), kFormatId, 3, "D:");
  EXPECT_STREQ("Disc 3 ", small);
  EXPECT_EQ("", LoadStringText(Instance(), kMissingId));
}

TEST(StringsTest, FileTimeAsShortDateAndTimeWithoutSeconds) {
  SYSTEMTIME st{2026, 12, 1, 7, 13, 45, 30, 0};
  FILETIME ft;
  ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
  char date[64], dateTime[64], expectedTime[32];
  FormatFileTime(ft, date, sizeof date, false);
  FormatFileTime(ft, dateTime, sizeof dateTime, true);
  GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, expectedTime, sizeof expectedTime);
  EXPECT_NE(nullptr, std::strstr(date, "2026")) << date;
  EXPECT_EQ(std::string(date) + " " + expectedTime, dateTime);
  EXPECT_EQ(nullptr, std::strstr(dateTime, "30")) << dateTime;

  char tight[sizeof date];
  std::memset(tight, 'x', sizeof tight);
  FormatFileTime(ft, tight, static_cast<int>(std::strlen(date) + 1), true);  // room for the date only
  EXPECT_STREQ(date, tight);
}

TEST(DisplayTest, DepthOfTheVirtualDisplay) {
  int depth = DisplayDepth();
  EXPECT_TRUE(depth == 8 || depth == 16 || depth == 24) << depth;
  EXPECT_NE(0u, PlatformId());
}

class WindowsTest : public ::testing::Test {
 protected:
  HWND Popup(HWND owner, int x, int y, int w, int h) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, x, y, w, h, owner, nullptr,
                                  Instance(), nullptr);
    windows_.push_back(window);
    return window;
  }
  void TearDown() override {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) DestroyWindow(*it);
  }
  static RECT Rect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
  }
  std::vector<HWND> windows_;
};

TEST_F(WindowsTest, CentresOnItsOwnerAndStaysOnTheScreen) {
  HWND owner = Popup(nullptr, 100, 100, 400, 300);
  HWND dialog = Popup(owner, 0, 0, 200, 100);
  CentreWindow(dialog);
  EXPECT_EQ(200, Rect(dialog).left);
  EXPECT_EQ(200, Rect(dialog).top);
  EXPECT_EQ(200, Rect(dialog).right - Rect(dialog).left);  // the size stays

  HWND huge = Popup(owner, 50, 50, 3000, 2000);
  CentreWindow(huge, owner);
  EXPECT_EQ(0, Rect(huge).left);
  EXPECT_EQ(0, Rect(huge).top);
}

TEST_F(WindowsTest, WithoutAnOwnerTheDesktopIsUsed) {
  HWND lone = Popup(nullptr, 0, 0, 200, 100);
  CentreWindow(lone);
  RECT desktop;
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_EQ((desktop.left + desktop.right) / 2 - 100, Rect(lone).left);
  EXPECT_EQ((desktop.top + desktop.bottom) / 2 - 50, Rect(lone).top);
}

TEST_F(WindowsTest, CursorOnAToolbarButton) {
  InitCommonControls();
  HWND frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 50, 50, 400, 100, nullptr,
                               nullptr, Instance(), nullptr);
  windows_.push_back(frame);
  HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame,
                                 nullptr, Instance(), nullptr);
  SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  TBBUTTON buttons[2] = {{0, 500, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
                         {1, 501, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0}};
  SendMessageA(toolbar, TB_ADDBUTTONSA, 2, reinterpret_cast<LPARAM>(buttons));
  SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);

  MoveCursorToToolbarButton(toolbar, 501);
  EXPECT_TRUE(CursorOnToolbarButton(toolbar, 501));
  EXPECT_FALSE(CursorOnToolbarButton(toolbar, 500));
  EXPECT_FALSE(CursorOnToolbarButton(toolbar, 777));  // no such button
}

// Sets *found when child is a shown, enabled "Make New Folder" button.
BOOL CALLBACK NoteNewFolderButton(HWND child, LPARAM found) {
  char text[64] = "";
  GetWindowTextA(child, text, sizeof text);
  bool shown = (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
  if (std::strstr(text, "New Folder") && shown && IsWindowEnabled(child)) *reinterpret_cast<bool*>(found) = true;
  return TRUE;
}

TEST(FolderBrowserTest, OpensOnTheNearestExistingFolderAndReturnsTheChoice) {
  char windowsDir[MAX_PATH];
  GetWindowsDirectoryA(windowsDir, MAX_PATH);
  std::string path = std::string(windowsDir) + "\\no such folder\\deeper\\";
  bool chosen;
  bool offersNewFolder = false;
  {
    DialogHook hook([&offersNewFolder](HWND browser) {
      EnumChildWindows(browser, NoteNewFolderButton, reinterpret_cast<LPARAM>(&offersNewFolder));
      DialogHook::Press(browser, IDOK);
    });
    chosen = BrowseForFolder(nullptr, path, "Select destination folder");
  }
  ASSERT_TRUE(chosen);
  EXPECT_STRCASEEQ(windowsDir, path.c_str());
  EXPECT_TRUE(offersNewFolder);

  {
    DialogHook hook([](HWND browser) { DialogHook::Press(browser, IDCANCEL); });
    path = "C:\\";
    EXPECT_FALSE(BrowseForFolder(nullptr, path, "Select destination folder"));
    EXPECT_EQ("C:\\", path);
  }
}

class MruComboTest : public WindowsTest {
 protected:
  void SetUp() override {
    keyPath_ = "Software\\Quorvant\\Lumivexa SE Tests\\mru-" + std::to_string(GetCurrentProcessId());
    RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
    combo_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWN, 0, 0, 300, 200, nullptr,
                             nullptr, Instance(), nullptr);
    windows_.push_back(combo_);
  }
  void TearDown() override {
    RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Quorvant\\Lumivexa SE Tests");
    WindowsTest::TearDown();
  }
  std::vector<unsigned char> Stored() {
    std::vector<unsigned char> value;
    RegistrySettingsStore(key(), RegistrySettingsStore::Access::kRead).readAll("MRUExportPaths", &value);
    return value;
  }
  void Store(const std::string& bytes) {
    RegistrySettingsStore(key(), RegistrySettingsStore::Access::kWrite)
        .write("MRUExportPaths", bytes.data(), bytes.size());
  }
  const char* key() const { return keyPath_.c_str(); }

  std::string keyPath_;
  HWND combo_ = nullptr;
};

TEST_F(MruComboTest, LoadFillsAndSelectsTheFirstEntry) {
  EXPECT_FALSE(LoadMruCombo(combo_, key(), "MRUExportPaths"));
  EXPECT_EQ(0, SendMessageA(combo_, CB_GETCOUNT, 0, 0));

  Store(std::string("C:\\one\0C:\\two\0C:\\three\0\0", 24));
  ASSERT_TRUE(LoadMruCombo(combo_, key(), "MRUExportPaths"));
  EXPECT_EQ(3, SendMessageA(combo_, CB_GETCOUNT, 0, 0));
  EXPECT_EQ(0, SendMessageA(combo_, CB_GETCURSEL, 0, 0));
  EXPECT_EQ("C:\\one", DialogHook::Text(combo_));
}

// Entries are UTF-8 and come back whole; one an earlier version stored in the
// ANSI code page (not valid UTF-8) is read as that and stored again as UTF-8.
TEST_F(MruComboTest, EntriesBeyondTheAnsiCodePageAndOldAnsiEntriesReadWhole) {
  struct Case {
    std::string stored, shown;
  };
  const Case cases[] = {
      {u8"C:\\写真 фото", u8"C:\\写真 фото"},
      {"C:\\Caf\xE9", u8"C:\\Café"},  // Windows-1252, the code page of Wine's default locale
  };
  for (const Case& c : cases) {
    if (c.stored.back() == '\xE9' && GetACP() != 1252) continue;
    Store(c.stored + std::string(2, '\0'));
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    ASSERT_TRUE(LoadMruCombo(combo_, key(), "MRUExportPaths"));
    EXPECT_EQ(c.shown, DialogHook::Text(combo_));
    ASSERT_TRUE(SaveMruCombo(combo_, true, 20, 0, key(), "MRUExportPaths"));
    EXPECT_EQ(EncodeMruList({c.shown}), Stored());
  }
}

TEST_F(MruComboTest, TypedTextMatchingTheThirdEntryMovesItToTheTop) {
  Store(std::string("C:\\one\0C:\\two\0C:\\three\0\0", 24));
  LoadMruCombo(combo_, key(), "MRUExportPaths");
  SetWindowTextA(combo_, "c:\\THREE");
  ASSERT_TRUE(SaveMruCombo(combo_, true, 20, 0, key(), "MRUExportPaths"));
  EXPECT_EQ(EncodeMruList({"c:\\THREE", "C:\\one", "C:\\two"}), Stored());
  EXPECT_EQ(0, SendMessageA(combo_, CB_GETCURSEL, 0, 0));
  EXPECT_EQ(3, SendMessageA(combo_, CB_GETCOUNT, 0, 0));

  SendMessageA(combo_, CB_SETCURSEL, 2, 0);  // a selected entry counts, not the edit text
  ASSERT_TRUE(SaveMruCombo(combo_, true, 20, 0, key(), "MRUExportPaths"));
  EXPECT_EQ(EncodeMruList({"C:\\two", "c:\\THREE", "C:\\one"}), Stored());
}

TEST_F(MruComboTest, TheTwentyFirstEntryIsDropped) {
  for (int i = 0; i < 20; ++i) {
    std::string entry = "C:\\folder" + std::to_string(i);
    SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
  SetWindowTextA(combo_, "D:\\new");
  ASSERT_TRUE(SaveMruCombo(combo_, true, 20, 0, key(), "MRUExportPaths"));
  std::vector<unsigned char> value = Stored();
  std::string text(value.begin(), value.end());
  EXPECT_EQ(0u, text.find(std::string("D:\\new\0C:\\folder0\0", 17)));
  EXPECT_EQ(std::string::npos, text.find("folder19"));
  EXPECT_NE(std::string::npos, text.find("folder18"));
  EXPECT_EQ(21, SendMessageA(combo_, CB_GETCOUNT, 0, 0));  // the combo itself keeps all
}

}  // namespace
