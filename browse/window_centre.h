// Places a dialog in the middle of its owner, kept on the screen.
#pragma once
#include <windows.h>

void CentreOnOwner(HWND dialog);
