// What the user-interface thread's message loop needs from the main window.
#pragma once
#include <windows.h>

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
