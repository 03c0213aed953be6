// Common-controls version probe and initialisation.
#pragma once
#include <windows.h>

struct ComctlVersion {
  DWORD major = 0;
  DWORD minor = 0;
};

// Asks a common-controls library for its version through DllGetVersion.
// {0, 0} when the library does not load; {4, 0} when it has no DllGetVersion.
ComctlVersion ProbeComctlVersion(const char* library = "comctl32.dll");

// Versions above 4.70 draw flat toolbars that sit in a rebar.
bool IsNewComctl(ComctlVersion version);

// InitCommonControls, then InitCommonControlsEx for the Win95 and cool-bar classes
// where the library exports it (older libraries do not).
void InitAllCommonControls();
