#include "residual_prefetch.h"

#include <algorithm>
#include <new>

#include "decode_internal.h"
#include "pcd_layout.h"

ResidualPrefetcher::~ResidualPrefetcher() {
  if (thread_.joinable()) {
    {
      std::lock_guard<std::mutex> hold(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  if (pack_) PcdCloseImagePack(pack_);
}

PcdStatus ResidualPrefetcher::Start(const char* path) {
  PcdStatus status = PcdOpenImagePack(path, pack_);
  if (status != kPcdOk) return status;
  try {
    thread_ = std::thread(&ResidualPrefetcher::Run, this);
  } catch (...) {
    PcdCloseImagePack(pack_);
    pack_ = nullptr;
    return kPcdOutOfMemory;
  }
  return kPcdOk;
}

void ResidualPrefetcher::WaitIdle(std::unique_lock<std::mutex>& lock) {
  wake_.wait(lock, [this] { return !pending_; });
}

void ResidualPrefetcher::Request(const std::vector<ResidualRowKey>& keys) {
  std::unique_lock<std::mutex> lock(mutex_);
  WaitIdle(lock);
  requested_ = keys;
  pending_ = true;
  outstanding_ = true;
  lock.unlock();
  wake_.notify_all();
}

PcdStatus ResidualPrefetcher::Take() {
  std::unique_lock<std::mutex> lock(mutex_);
  WaitIdle(lock);
  std::swap(working_, ready_);
  working_.count = 0;
  outstanding_ = false;
  return ready_.status;
}

const std::int8_t* ResidualPrefetcher::Find(const ResidualRowKey& key, PcdStatus& damage) const {
  // Rows are mostly asked for in the order they were decoded: look on from
  // the last one found.
  for (std::size_t n = 0; n < ready_.count; ++n) {
    const std::size_t i = (found_ + n) % ready_.count;
    if (ready_.rows[i].key == key) {
      found_ = i;
      damage = ready_.rows[i].damage;
      return ready_.rows[i].values.data();
    }
  }
  return nullptr;
}

void ResidualPrefetcher::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return pending_ || stop_; });
    if (stop_) return;
    lock.unlock();
    Decode(requested_, working_);
    lock.lock();
    pending_ = false;
    wake_.notify_all();
  }
}

void ResidualPrefetcher::Decode(const std::vector<ResidualRowKey>& keys, Job& job) {
  job.count = 0;
  job.status = kPcdOk;
  if (job.rows.size() < keys.size()) {
    try {
      job.rows.resize(keys.size());
    } catch (const std::bad_alloc&) {
      job.status = kPcdOutOfMemory;
      return;
    }
  }
  for (const ResidualRowKey& key : keys) {
    const std::int8_t* values = nullptr;
    const PcdStatus status = PcdResidualRow(*pack_, key.level, key.plane, key.row, values);
    if (status != kPcdOk && !PcdIsDamage(status)) {
      job.status = status;
      return;
    }
    const int width = key.plane == 0 ? pcd::LevelWidth(key.level) : pcd::LevelWidth(key.level) / 2;
    Row& row = job.rows[job.count];
    try {
      row.values.assign(values, values + width);
    } catch (const std::bad_alloc&) {
      job.status = kPcdOutOfMemory;
      return;
    }
    row.key = key;
    row.damage = status;
    ++job.count;
  }
}
