// A window's worker thread, with the one stop policy every worker follows: ask
// it to stop (a flag it polls and a manual-reset event it can wait on), wait at
// most the owner's time-out, beep when that runs out and then wait on, since
// the thread still reads its owner's data. Each run has a generation, bumped
// when it starts and when it is stopped; whatever the thread posts carries it,
// and the owner drops a message whose generation is no longer current, so a
// late message of a stopped run is never taken for one of the run in hand.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>

class WorkerThread {
 public:
  using Body = std::function<void(long generation)>;

  WorkerThread(DWORD stopWaitMs, UINT beep);
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Stops a run still going, then runs body on a new thread at the priority.
  // False when no thread could be made.
  bool start(Body body, int priority = THREAD_PRIORITY_NORMAL);
  // Asks the run to stop and waits for it as described above. The generation
  // moves on even when no thread runs.
  void stop();

  bool active() const { return running_.load(); }  // a run has started and its body not yet returned
  bool stopRequested() const { return stop_.load(); }
  const std::atomic<bool>& stopFlag() const { return stop_; }  // for code that polls it
  HANDLE stopEvent() const { return stopEvent_; }
  long generation() const { return generation_.load(); }
  bool isCurrent(long generation) const { return generation == generation_.load(); }

 private:
  static DWORD WINAPI Entry(void* self);

  const DWORD stopWaitMs_;
  const UINT beep_;
  HANDLE thread_ = nullptr;
  HANDLE stopEvent_ = nullptr;
  Body body_;
  long runGeneration_ = 0;
  std::atomic<bool> running_{false};
  std::atomic<bool> stop_{false};
  std::atomic<long> generation_{0};
};
