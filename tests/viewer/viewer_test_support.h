// The browse window on the sample disc with viewers opened from it, driven the
// way a user would: double-clicks, keys through the main loop's accelerators.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tests/browse/browse_test_support.h"
#include "resources/command_ids.h"
#include "viewer/viewer_window.h"

// The pixel at (x, y) of a decoded 24-bit bitmap, as 0xRRGGBB.
inline COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  COLORREF colour = GetPixel(memory, x, y);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return colour;
}

class ViewerTest : public BrowseWindowTest {
 protected:
  void SetUp() override {
    BrowseWindowTest::SetUp();
    saved_ = g_settings;
    if (GetFileAttributesA("D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD") == INVALID_FILE_ATTRIBUTES)
      GTEST_SKIP() << "no sample disc on D:";
    ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
    ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 20000));
  }
  void TearDown() override {
    BrowseWindowTest::TearDown();
    g_settings = saved_;
  }

  // Makes list item `item` the focused and only selected one.
  void Focus(int item) {
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(window_.list(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(window_.list(), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
  }
  // Focuses list item `item` and double-clicks it.
  void DoubleClick(int item) {
    Focus(item);
    RECT icon = {};
    icon.left = LVIR_ICON;
    SendMessageA(window_.list(), LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&icon));
    SendMessageA(window_.list(), WM_LBUTTONDBLCLK, MK_LBUTTON,
                 MAKELPARAM((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2));
    Pump();
  }
  viewer::ViewerWindow* Viewer(std::size_t i = 0) {
    return i < window_.ViewerCount() ? dynamic_cast<viewer::ViewerWindow*>(window_.Viewer(i)) : nullptr;
  }
  // A key pressed on the viewer's frame, through the main loop's accelerators.
  void Key(viewer::ViewerWindow* v, WPARAM key, bool control = false) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(v->Frame(), WM_KEYDOWN, key, 1);
    PostMessageA(v->Frame(), WM_KEYUP, key, 0xC0000001);
    Pump();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
  }
  // A viewer opened by double-clicking list item `item` at `level`, its photo decoded.
  viewer::ViewerWindow* OpenDecoded(int item, int level) {
    g_settings.DefResolution = static_cast<std::uint8_t>(level);
    DoubleClick(item);
    viewer::ViewerWindow* v = Viewer();
    return v && Decoded(v) ? v : nullptr;
  }
  // A viewer on list item `item` at BASE*16 whose photo has decoded only its
  // first row: the View command is sent straight to the window, so no message
  // loop runs before the caller's next command.
  viewer::ViewerWindow* OpenStillDecoding(int item) {
    g_settings.DefResolution = 5;  // BASE*16: a long decode
    Focus(item);
    SendMessageA(window_.hwnd(), WM_COMMAND, CMD_VIEW, 0);
    return Viewer();
  }
  // Main-loop turns until the photo on screen is decoded.
  bool Decoded(viewer::ViewerWindow* v, DWORD ms = 20000) {
    return RunUntil([&] { return v->image(v->current())->isComplete() && !v->view().Decoding(); }, ms);
  }
  std::string Title(viewer::ViewerWindow* v) {
    char text[128] = "";
    GetWindowTextA(v->Frame(), text, sizeof text);
    return text;
  }
  std::string Status(viewer::ViewerWindow* v, int part) {
    char text[128] = "";
    SendMessageA(v->statusBar(), SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
  }

  Settings saved_;
};
