// The message loop of the user-interface thread, which also paces background work.
#pragma once
#include <windows.h>

#include "ui/loop_client_win.h"

// Returned when waiting for a message fails.
constexpr int kLoopWaitFailed = -1;

// Runs until a quit message and returns its wParam. While the client needs idle
// work the loop drains the queue and then does one idle step per turn; otherwise it
// blocks on the next message. client may be null (no browse window object).
int RunMainLoop(LoopClient* client);
