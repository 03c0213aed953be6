// One run at a time of a command whose state is the program's, not a window's
// (the printer job, the stored export options): windows are independent, so a
// second start could come from another window while a dialog or message box of
// the first one runs. The command keeps one slot; a start that finds it taken
// is refused instead of interleaving with the run in progress.
#pragma once

class SingleRun {
 public:
  explicit SingleRun(bool& slot) : slot_(slot), owner_(!slot) { slot_ = true; }
  ~SingleRun() {
    if (owner_) slot_ = false;
  }
  SingleRun(const SingleRun&) = delete;
  SingleRun& operator=(const SingleRun&) = delete;

  // False when another run held the slot: the caller must give up.
  bool started() const { return owner_; }

 private:
  bool& slot_;
  bool owner_;
};
