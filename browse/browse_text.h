// Small texts of the browse window: strings by id and disc dates.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/disc_time_win.h"

// The string with this id from the program's resources; empty when missing.
std::string LoadText(UINT id);
// A message box with string `id` as text and the caption "Lumivexa SE".
int MessageFromString(HWND owner, UINT id, UINT flags);
