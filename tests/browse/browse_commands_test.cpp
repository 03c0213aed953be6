// The browse window's commands under Wine: accelerators through pre-translation,
// tooltips, menu help in the status bar, Select all, the about box, pop-up menus.
#include <gtest/gtest.h>

#include <string>

#include "lumivexa_version.h"
#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "tests/browse/browse_test_support.h"
#include "tests/support/dialog_hook_win.h"
#include "ui/about_box_win.h"

namespace {

// Sets the keyboard state of the modifier keys for accelerator translation.
void HoldKeys(std::initializer_list<int> keys) {
  BYTE state[256];
  GetKeyboardState(state);
  for (int key : {VK_CONTROL, VK_SHIFT, VK_MENU}) state[key] = 0;
  for (int key : keys) state[key] = 0x80;
  SetKeyboardState(state);
}

TEST_F(BrowseWindowTest, AcceleratorsWorkOnTheListAndExitPostsQuitOne) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  RunUntil([&] { return !window_.LoaderRunning(); }, 20000);
  // Ctrl+A on the list selects every photo, keeping photo 1 focused.
  HoldKeys({VK_CONTROL});
  MSG msg = {window_.list(), WM_KEYDOWN, 'A', 1, 0, {0, 0}};
  EXPECT_TRUE(window_.PreTranslate(&msg));
  HoldKeys({});
  EXPECT_EQ(SendMessageA(window_.list(), LVM_GETSELECTEDCOUNT, 0, 0), 24);
  EXPECT_EQ(SendMessageA(window_.list(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 0);
  // Alt+X arrives as a system key and quits with code 1.
  HoldKeys({VK_MENU});
  msg = MSG{window_.hwnd(), WM_SYSKEYDOWN, 'X', 1 << 29, 0, {0, 0}};
  EXPECT_TRUE(window_.PreTranslate(&msg));
  HoldKeys({});
  MSG quit;
  bool sawQuit = false;
  while (PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE)) {
    if (quit.message == WM_QUIT) {
      sawQuit = true;
      EXPECT_EQ(quit.wParam, 1u);
    }
    DispatchMessageA(&quit);  // paints must be validated, or they come back for ever
  }
  EXPECT_TRUE(sawQuit);
}

TEST_F(BrowseWindowTest, ToolbarTooltipsAndMenuHelpComeFromTheStringTable) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  NMTTDISPINFOA tip = {};
  tip.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageA(window_.toolbar(), TB_GETTOOLTIPS, 0, 0));
  tip.hdr.idFrom = CMD_SLIDE_SHOW;
  tip.hdr.code = TTN_NEEDTEXTA;
  SendMessageA(window_.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
  ASSERT_EQ(tip.hinst, g_instance);
  char text[64] = "";
  LoadStringA(tip.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(tip.lpszText)), text, sizeof text);
  EXPECT_STREQ(text, "Slide show");
  tip.hdr.idFrom = CMD_PROPERTIES;  // its button has no tip
  SendMessageA(window_.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
  EXPECT_EQ(tip.lpszText, nullptr);
  // Unicode tooltips ask with the wide structure, whose instance field lies elsewhere.
  NMTTDISPINFOW wide = {};
  wide.hdr = tip.hdr;
  wide.hdr.idFrom = CMD_HELP_CONTENTS;
  wide.hdr.code = TTN_NEEDTEXTW;
  SendMessageA(window_.hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide));
  ASSERT_EQ(wide.hinst, g_instance);
  wchar_t wideText[64] = L"";
  LoadStringW(wide.hinst, static_cast<UINT>(reinterpret_cast<UINT_PTR>(wide.lpszText)), wideText, 64);
  EXPECT_STREQ(wideText, L"Help");

  HMENU menu = GetMenu(window_.hwnd());
  SendMessageA(window_.hwnd(), WM_MENUSELECT, MAKEWPARAM(CMD_OPEN_DISC, MF_HILITE), reinterpret_cast<LPARAM>(menu));
  EXPECT_TRUE(SendMessageA(window_.statusBar(), SB_ISSIMPLE, 0, 0));
  char help[128] = "";
  // In simple mode every part reads back the simple text.
  SendMessageA(window_.statusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(help));
  EXPECT_STREQ(help, "Loads and displays thumbnails on a Kodak PhotoCD disc.");
  // Closing the menu brings the two parts back.
  SendMessageA(window_.hwnd(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
  EXPECT_FALSE(SendMessageA(window_.statusBar(), SB_ISSIMPLE, 0, 0));
  EXPECT_EQ(StatusText(1), "24 photos.");
}

TEST_F(BrowseWindowTest, AboutBoxShowsProductVersionAndIcon) {
  window_.SetProbedDrives('E', 'Y');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  std::string caption, product, version;
  HICON icon = nullptr;
  DialogHook hook([&](HWND box) {
    caption = DialogHook::Text(box);
    product = DialogHook::Text(GetDlgItem(box, IDC_ABOUT_PRODUCT));
    version = DialogHook::Text(GetDlgItem(box, IDC_ABOUT_VERSION));
    icon = reinterpret_cast<HICON>(SendDlgItemMessageA(box, IDC_ABOUT_ICON, STM_GETICON, 0, 0));
    DialogHook::Press(box, IDOK);
  });
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_ABOUT, 0);
  EXPECT_EQ(hook.dialogsSeen(), 1);
  EXPECT_EQ(product, "Lumivexa SE");
  EXPECT_EQ(version, "Version " LUMIVEXA_VERSION_TEXT);
  EXPECT_NE(icon, nullptr);
}

// Stands in for the help viewer: WinHelp hands each request to the window of
// class "MS_WINHELP" as WM_COPYDATA with this record, the file name at ofsFile.
struct HelpRequestRecord {
  WORD size;
  WORD command;
  LONG data;
  LONG reserved;
  WORD ofsFile;
  WORD ofsData;
};
UINT g_helpCommand = 0;
std::string g_helpFile;

LRESULT CALLBACK HelpViewerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    auto* request = static_cast<const HelpRequestRecord*>(reinterpret_cast<COPYDATASTRUCT*>(lParam)->lpData);
    g_helpCommand = request->command;
    if (request->ofsFile) g_helpFile = reinterpret_cast<const char*>(request) + request->ofsFile;
    return TRUE;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// With a Windows Help file beside the program, Help contents asks WinHelp for it.
TEST_F(BrowseWindowTest, HelpContentsUsesAWindowsHelpFileBesideTheProgram) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));  // the disc's folder is now the current one
  char program[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  std::string folder = program;
  folder.resize(folder.rfind('\\') + 1);
  const std::string hlp = folder + "LumivexaSE.hlp";
  HANDLE file = CreateFileA(hlp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  WNDCLASSA viewerClass = {};
  viewerClass.lpfnWndProc = HelpViewerProc;
  viewerClass.hInstance = g_instance;
  viewerClass.lpszClassName = "MS_WINHELP";
  RegisterClassA(&viewerClass);
  HWND viewer = CreateWindowA("MS_WINHELP", "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, g_instance, nullptr);
  ASSERT_NE(viewer, nullptr);
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_HELP_CONTENTS, 0);
  DestroyWindow(viewer);
  DeleteFileA(hlp.c_str());
  EXPECT_EQ(g_helpCommand, static_cast<UINT>(HELP_FINDER));
  EXPECT_EQ(g_helpFile, hlp);
}

TEST(AboutBox, BlinkDelays) {
  // The main icon stays up to 7 s; the alternate one flashes for under 0.2 s.
  EXPECT_EQ(NextBlinkDelay(true, 32767), 32767u % 7000);
  EXPECT_EQ(NextBlinkDelay(false, 32767), 32767u % 200);
  EXPECT_EQ(NextBlinkDelay(false, 0), 0u);
}

// What the frame saw of the last pop-up menu it showed.
struct PopupSeen {
  UINT firstCommand = 0;
  UINT defaultCommand = 0;
  bool selectAllGreyed = false;
};
PopupSeen g_popup;
WNDPROC g_frameProc = nullptr;

LRESULT CALLBACK RecordPopup(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITMENUPOPUP) {
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    g_popup.firstCommand = GetMenuItemID(menu, 0);
    g_popup.defaultCommand = GetMenuDefaultItem(menu, FALSE, GMDI_USEDISABLED);
    g_popup.selectAllGreyed = GetMenuState(menu, CMD_SELECT_ALL, MF_BYCOMMAND) & MF_GRAYED;
    PostMessageA(hwnd, WM_CANCELMODE, 0, 0);  // close it again
  }
  return CallWindowProcA(g_frameProc, hwnd, message, wParam, lParam);
}

TEST_F(BrowseWindowTest, PopUpMenusFollowTheSelection) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  SetForegroundWindow(window_.hwnd());
  g_frameProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window_.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordPopup)));
  // Photo 1 is selected: the context-menu key opens the photo menu, View its default.
  SendMessageA(window_.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_.list()),
               MAKELPARAM(0xFFFF, 0xFFFF));
  EXPECT_EQ(g_popup.firstCommand, static_cast<UINT>(CMD_VIEW));
  EXPECT_EQ(g_popup.defaultCommand, static_cast<UINT>(CMD_VIEW));
  // With nothing selected the disc menu comes, Select all enabled.
  LVITEMA none = {};
  none.stateMask = LVIS_SELECTED;
  SendMessageA(window_.list(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  g_popup = PopupSeen();
  SendMessageA(window_.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_.list()), MAKELPARAM(50, 50));
  EXPECT_EQ(g_popup.firstCommand, static_cast<UINT>(CMD_OPEN_DISC));
  EXPECT_FALSE(g_popup.selectAllGreyed);
  // Right clicks on other windows (the status bar) show nothing.
  g_popup = PopupSeen();
  SendMessageA(window_.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_.statusBar()), MAKELPARAM(50, 50));
  EXPECT_EQ(g_popup.firstCommand, 0u);
  SetWindowLongPtrA(window_.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_frameProc));
}

}  // namespace
