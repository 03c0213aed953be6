// Small texts of the browse window: strings by id and disc dates.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// The string with this id from the program's resources; empty when missing.
std::string LoadText(UINT id);
// A message box with string `id` as text and the caption "Lumivexa SE".
int MessageFromString(HWND owner, UINT id, UINT flags);

// Local file time of 1970-01-01 00:00 (the base of disc times).
std::uint64_t LocalEpochFileTime();
// Short date, a blank and the time without seconds, in the user's locale.
std::string FormatDateTime(std::uint64_t localFileTime);
