// Photos worked through on several threads, the caller's among them: each
// takes the next photo from an atomic counter, and the progress bar moves on
// as each is done.
#pragma once
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

#include "cli/progress_bar.h"

namespace cli {

// Calls work(index, decodeThreads) once for every index below count, on up to
// jobs threads. With fewer photos at once than processors, each photo's
// decode may use two threads.
template <class Work>
void forEachPhoto(std::size_t count, int jobs, bool progressBar, Work work) {
  ProgressBar bar(progressBar, count);
  const std::size_t workers = std::max<std::size_t>(1, std::min<std::size_t>(jobs > 0 ? jobs : 1, count));
  const int decodeThreads = workers < std::thread::hardware_concurrency() ? 2 : 1;
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    for (std::size_t i; (i = next++) < count;) {
      work(i, decodeThreads);
      bar.advance();
    }
  };
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < workers; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
}

}  // namespace cli
