// Process-wide values of the user-interface shell, set once at start-up.
#pragma once
#include <windows.h>

#include "ui/comctl_version_win.h"

// Caption of the main window and of message boxes.
constexpr char kAppName[] = "Lumivexa SE";

extern HINSTANCE g_instance;           // module of every resource load
extern HICON g_mainIcon;               // icon 107: browse window class icon
extern HICON g_alternateIcon;          // icon 108: second frame of the about box animation
extern ComctlVersion g_comctlVersion;  // decides flat toolbars in a rebar
