// Small user-interface helpers that many windows and dialogs share. They fail
// quietly: a missing string gives an empty text, a failed registry access leaves
// things as they were.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

#include "imaging/pixel_types.h"

// The same rectangle as GDI and as the portable code hold it.
inline imaging::PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const imaging::PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// A string table entry of at most maxChars characters; empty when missing.
std::string LoadStringText(HINSTANCE instance, UINT id, int maxChars = 256);

// Message boxes; each returns what MessageBox returns.
int MessageFromString(HINSTANCE instance, HWND owner, UINT textId, const char* caption, UINT style);
int MessageWithCaptionId(HINSTANCE instance, HWND owner, const char* text, UINT captionId, UINT style);
int MessageFromStrings(HINSTANCE instance, HWND owner, UINT textId, UINT captionId, UINT style);

// "Cannot open image:" with the path and, on a line of its own, why: the text
// of an image reader's error code. The box has the warning icon.
std::string CannotOpenImageText(HINSTANCE instance, const std::string& path, int imageError);
int CannotOpenImageBox(HINSTANCE instance, HWND owner, const std::string& path, int imageError);

// Shows the system's text for the calling thread's last error with an
// information icon; false (and no box) when the system has no text for it.
bool SystemErrorBox(HWND owner, const char* caption);
bool SystemErrorBoxId(HINSTANCE instance, HWND owner, UINT captionId);

// Formats the arguments by the format string formatId into out; out is left
// untouched when there is no such string.
void FormatStringId(char* out, std::size_t size, HINSTANCE instance, UINT formatId, ...);

// Centres window on owner (default: its parent; the desktop when that is no
// window or is minimised), kept on the (virtual) screen. Only moves the window.
void CentreWindow(HWND window, HWND owner = nullptr);

// Screen bits per pixel: 15 reports 16, more than 24 reports 24, 0 without a DC.
int DisplayDepth();
DWORD PlatformId();

void MoveCursorToToolbarButton(HWND toolbar, int command);
bool CursorOnToolbarButton(HWND toolbar, int command);

// The user's decimal separator, and a number typed with it.
std::string LocaleDecimalSeparator();
double LocaleNumber(const char* text);

// Short date in the user's format, then a blank and the time without seconds.
void FormatFileTime(const FILETIME& time, char* out, int size, bool withTime);

// Lets the user pick a folder, starting at the nearest existing folder of path
// (MAX_PATH characters); the choice replaces path. False when cancelled.
bool BrowseForFolder(HWND owner, char* path, const char* title);

// A combo box's recent entries in a binary value under HKEY_CURRENT_USER.
bool LoadMruCombo(HWND combo, const char* keyPath, const char* valueName);
// Optionally puts the combo's current text at the top, keeps at most maxEntries
// entries in maxBytes (0 = no limit) and stores them. True when the write worked.
bool SaveMruCombo(HWND combo, bool addCurrent, std::size_t maxEntries, std::size_t maxBytes,
                  const char* keyPath, const char* valueName);
