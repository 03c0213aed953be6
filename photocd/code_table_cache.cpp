#include "code_table_cache.h"

#include <algorithm>
#include <cstring>
#include <list>
#include <mutex>
#include <new>

namespace {

struct CachedTable {
  HuffmanTable table;
  int uses = 0;
};

// Image pack decoding runs on one thread; the lock only keeps the list sound
// should another caller ever decode at the same time.
std::mutex& CacheLock() {
  static std::mutex lock;
  return lock;
}

std::list<CachedTable>& Cache() {
  static std::list<CachedTable> cache;
  return cache;
}

}  // namespace

PcdStatus PcdAcquireCodeTable(const std::uint8_t* stored, std::size_t size, const HuffmanTable*& table) {
  table = nullptr;
  if (!stored || size < 1 || size < PcdStoredTableSize(stored[0])) return kPcdBadSignature;
  const std::size_t length = PcdStoredTableSize(stored[0]);
  std::lock_guard<std::mutex> hold(CacheLock());
  for (CachedTable& cached : Cache()) {
    if (cached.table.stored.size() == length && std::memcmp(cached.table.stored.data(), stored, length) == 0) {
      ++cached.uses;
      table = &cached.table;
      return kPcdOk;
    }
  }
  try {
    CachedTable made;
    PcdStatus status = PcdBuildHuffmanTable(stored, length, made.table);
    if (status != kPcdOk) return status;
    made.uses = 1;
    Cache().push_back(std::move(made));
  } catch (const std::bad_alloc&) {
    return kPcdOutOfMemory;
  }
  table = &Cache().back().table;
  return kPcdOk;
}

void PcdReleaseCodeTable(const HuffmanTable* table) {
  if (!table) return;
  std::lock_guard<std::mutex> hold(CacheLock());
  auto& cache = Cache();
  auto it = std::find_if(cache.begin(), cache.end(), [table](const CachedTable& c) { return &c.table == table; });
  if (it != cache.end() && --it->uses == 0) cache.erase(it);
}

std::size_t PcdCachedCodeTableCount() {
  std::lock_guard<std::mutex> hold(CacheLock());
  return Cache().size();
}
