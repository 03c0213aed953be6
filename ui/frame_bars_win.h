// What the program's frame windows share about their bars: the toolbar in a
// rebar band, laying out toolbar and status bar, and menu help in the status bar.
#pragma once
#include <windows.h>
#include <commctrl.h>

// Toolbar entries: a button showing image `image` of the toolbar strip, and a gap.
inline TBBUTTON ToolbarButton(int image, int command, BYTE style = TBSTYLE_BUTTON) {
  TBBUTTON button = {};
  button.iBitmap = image;
  button.idCommand = command;
  button.fsState = TBSTATE_ENABLED;
  button.fsStyle = style;
  return button;
}
inline TBBUTTON ToolbarSeparator() {
  TBBUTTON button = {};
  button.fsStyle = TBSTYLE_SEP;
  return button;
}

// A toolbar with tooltips over the program's strip of 16 x 16 images (bitmap
// 108); flat for newer common controls.
HWND CreateFrameToolbar(HINSTANCE instance, HWND frame, int id, const TBBUTTON* buttons, int count, bool flat);

// Puts toolbar into the band "Lumivexa Toolbar" of a new rebar on frame (for
// flat toolbars of newer common controls); null when no rebar could be made.
HWND CreateToolbarRebar(HINSTANCE instance, HWND frame, HWND toolbar);
// Sizes the rebar (or the toolbar itself) and the status bar to the frame's
// client area; the client area left between the bars that are shown.
RECT LayoutFrameBars(HWND frame, HWND rebar, HWND toolbar, HWND status);
// Width of text in the window's font, in pixels.
int TextWidth(HWND window, const char* text);
// WM_MENUSELECT: while a menu item is highlighted the status bar shows, in
// simple mode, the string whose id is the item's command; otherwise its parts.
void ShowMenuHelp(HINSTANCE instance, HWND status, UINT item, UINT flags);
// A toolbar's tooltip request (TTN_NEEDTEXT): the command's tip from the shared
// map. False for any other notification.
bool AnswerToolbarTip(HINSTANCE instance, NMHDR* header);
