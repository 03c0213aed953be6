// A second thread that decodes residual rows ahead of the thread that
// enlarges, adds and converts them. It reads through its own handle on the
// same file, so the caller's handle is never touched from two threads; rows
// are asked for in the order the single-threaded decode asks for them, so
// every stream of residuals is read the same way and the values are equal.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "image_pack.h"

struct ResidualRowKey {
  int level;
  int plane;  // 0 luma, 1 chroma 1, 2 chroma 2
  int row;
  bool operator==(const ResidualRowKey& o) const { return level == o.level && plane == o.plane && row == o.row; }
};

class ResidualPrefetcher {
 public:
  ResidualPrefetcher() = default;
  ResidualPrefetcher(const ResidualPrefetcher&) = delete;
  ResidualPrefetcher& operator=(const ResidualPrefetcher&) = delete;
  ~ResidualPrefetcher();

  // Opens the second handle and starts the thread. Statuses of opening.
  PcdStatus Start(const char* path);

  // Starts decoding the rows of keys, in that order, on the thread. Waits for
  // an earlier job first, whose rows are then dropped. Throws std::bad_alloc.
  void Request(const std::vector<ResidualRowKey>& keys);
  // Whether the last request, not yet taken, is for these keys.
  bool Holds(const std::vector<ResidualRowKey>& keys) const { return outstanding_ && requested_ == keys; }
  // Waits for the last request and makes its rows the ones Find sees; the
  // first failure of the job, or 0. Only after a request.
  PcdStatus Take();
  // A row of the last job taken, with the damage it met (PcdResidualRow);
  // null when it was not asked for or failed.
  const std::int8_t* Find(const ResidualRowKey& key, PcdStatus& damage) const;

 private:
  struct Row {
    ResidualRowKey key;
    std::vector<std::int8_t> values;
    PcdStatus damage = kPcdOk;
  };
  struct Job {
    std::vector<Row> rows;
    std::size_t count = 0;  // rows in use
    PcdStatus status = kPcdOk;
  };
  void Run();
  void Decode(const std::vector<ResidualRowKey>& keys, Job& job);
  void WaitIdle(std::unique_lock<std::mutex>& lock);

  ImagePack* pack_ = nullptr;  // the thread's own handle
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool pending_ = false;  // a job waits or runs
  bool stop_ = false;
  bool outstanding_ = false;  // requested and not taken (the caller's)
  std::vector<ResidualRowKey> requested_;  // read by the thread only while pending_
  Job working_;  // the thread's
  Job ready_;    // the caller's
  mutable std::size_t found_ = 0;  // where Find last found a row
};
