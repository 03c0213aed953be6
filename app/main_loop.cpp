#include "app/main_loop.h"

namespace {

void Deliver(LoopClient* client, MSG* msg) {
  if (client && client->PreTranslate(msg)) return;
  TranslateMessage(msg);
  DispatchMessageW(msg);
}

}  // namespace

int RunMainLoop(LoopClient* client) {
  MSG msg;
  for (;;) {
    if (client && client->NeedsIdle()) {
      // A quit seen here ends the loop only after the rest of this drain, so the
      // messages queued behind it are not lost.
      bool quit = false;
      int quitCode = 0;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) {
          Deliver(client, &msg);
        } else if (!quit) {
          quit = true;
          quitCode = static_cast<int>(msg.wParam);
        }
      }
      if (quit) return quitCode;
      client->DoIdle();
      continue;
    }
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);
    if (got == -1) return kLoopWaitFailed;
    Deliver(client, &msg);
  }
}
