// The progress bar that export and verify draw on standard error while they
// work through photos on several threads.
#pragma once
#include <cstdio>
#include <mutex>
#include <string>

namespace cli {

class ProgressBar {
 public:
  ProgressBar(bool shown, std::size_t total) : shown_(shown), total_(total) { draw(); }
  ~ProgressBar() {
    if (shown_) std::fputc('\n', stderr);
  }
  void advance() {
    std::lock_guard<std::mutex> hold(lock_);
    ++done_;
    draw();
  }

 private:
  void draw() {
    if (!shown_) return;
    constexpr std::size_t kWidth = 40;
    std::size_t filled = total_ ? done_ * kWidth / total_ : kWidth;
    std::fprintf(stderr, "\r[%s%s] %zu/%zu", std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, ' ').c_str(), done_, total_);
    std::fflush(stderr);
  }
  bool shown_;
  std::size_t total_, done_ = 0;
  std::mutex lock_;
};

}  // namespace cli
