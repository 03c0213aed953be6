#include "ui/worker_thread_win.h"

WorkerThread::WorkerThread(DWORD stopWaitMs, UINT beep)
    : stopWaitMs_(stopWaitMs), beep_(beep), stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

WorkerThread::~WorkerThread() {
  stop();
  if (stopEvent_) CloseHandle(stopEvent_);
}

bool WorkerThread::start(Body body, int priority) {
  stop();
  stop_ = false;
  ResetEvent(stopEvent_);
  body_ = std::move(body);
  runGeneration_ = ++generation_;
  running_ = true;
  DWORD id = 0;
  thread_ = CreateThread(nullptr, 0, &WorkerThread::Entry, this, CREATE_SUSPENDED, &id);
  if (!thread_) {
    running_ = false;
    return false;
  }
  SetThreadPriority(thread_, priority);
  ResumeThread(thread_);
  return true;
}

void WorkerThread::stop() {
  ++generation_;  // whatever the run still posts is stale from here on
  if (!thread_) return;
  stop_ = true;
  SetEvent(stopEvent_);
  if (WaitForSingleObject(thread_, stopWaitMs_) == WAIT_TIMEOUT) {
    MessageBeep(beep_);
    WaitForSingleObject(thread_, INFINITE);
  }
  CloseHandle(thread_);
  thread_ = nullptr;
}

DWORD WINAPI WorkerThread::Entry(void* self) {
  auto* worker = static_cast<WorkerThread*>(self);
  worker->body_(worker->runGeneration_);
  worker->running_ = false;
  return 0;
}
