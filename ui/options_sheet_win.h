// The Options sheet: a Display page and a Slide Show page over the settings.
#pragma once
#include <windows.h>

#include "settings/settings.h"

// Runs the sheet modally. The settings change only when the user presses OK
// (and the pages accept); both pages remember which was shown last.
void ShowOptions(Settings& settings, HINSTANCE instance, HWND owner);

// The Options command of the browse window and the viewers: the sheet over a
// copy of the program's settings, then its options group put into them and
// written back whatever closed it, and OptionsChangedMessage() sent to every
// top-level window of the thread.
void RunOptionsCommand(HINSTANCE instance, HWND owner);
UINT OptionsChangedMessage();
