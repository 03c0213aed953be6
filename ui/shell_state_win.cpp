#include "ui/shell_state_win.h"

HINSTANCE g_instance = nullptr;
HICON g_mainIcon = nullptr;
HICON g_alternateIcon = nullptr;
ComctlVersion g_comctlVersion;
