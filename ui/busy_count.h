// How many commands are running on the user-interface thread. A command's modal
// dialog or progress window lets other messages in while it runs; work that
// would pull its ground away (closing the disc and the viewers with it) waits
// while the count is above zero and is picked up when it drops back.
#pragma once
#include <functional>
#include <utility>

class BusyCount {
 public:
  // Called each time the last running command ends.
  void SetWhenIdle(std::function<void()> whenIdle) { whenIdle_ = std::move(whenIdle); }
  bool Busy() const { return count_ > 0; }
  void Enter() { ++count_; }
  void Leave() {
    if (--count_ == 0 && whenIdle_) whenIdle_();
  }

 private:
  int count_ = 0;
  std::function<void()> whenIdle_;
};

// Holds a BusyCount for as long as it lives.
class BusyScope {
 public:
  explicit BusyScope(BusyCount& count) : count_(count) { count_.Enter(); }
  ~BusyScope() { count_.Leave(); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  BusyCount& count_;
};
