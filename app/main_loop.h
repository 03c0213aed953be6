// The message loop of the user-interface thread, which also paces background work.
#pragma once
#include <windows.h>

// What the loop needs from the browse window object.
class LoopClient {
 public:
  // Offered every message before translation; true when the message was consumed.
  virtual bool PreTranslate(MSG* msg) = 0;
  // True while background work wants idle steps; the loop then never blocks.
  virtual bool NeedsIdle() = 0;
  // One unit of idle work.
  virtual void DoIdle() = 0;

 protected:
  ~LoopClient() = default;
};

// Returned when waiting for a message fails.
constexpr int kLoopWaitFailed = -1;

// Runs until a quit message and returns its wParam. While the client needs idle
// work the loop drains the queue and then does one idle step per turn; otherwise it
// blocks on the next message. client may be null (no browse window object).
int RunMainLoop(LoopClient* client);
