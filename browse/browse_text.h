// Texts and screen facts the browse window needs: strings by id, message boxes
// built from them, the display depth and disc dates.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// The string with this id from the program's resources; empty when missing.
std::string LoadText(UINT id);
// A message box whose text is string `id` (formatted with one int or text
// argument when given), caption "Lumivexa SE". Returns the box's answer.
int MessageFromString(HWND owner, UINT id, UINT flags);
int MessageFromString(HWND owner, UINT id, UINT flags, int value);
// The system's text for `error` in a box captioned with string captionId; nothing
// when the system has no text for it.
void SystemErrorMessage(HWND owner, DWORD error, UINT captionId);

// Bits per pixel of the screen: 0 without a device context, 16 for 15, 24 above 24.
int DisplayDepth();

// Local file time of 1970-01-01 00:00 (the base of disc times).
std::uint64_t LocalEpochFileTime();
// Short date, a blank and the time without seconds, in the user's locale.
std::string FormatDateTime(std::uint64_t localFileTime);
