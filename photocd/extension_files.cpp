#include "extension_files.h"

#include <mutex>

namespace {

std::mutex& TableLock() {
  static std::mutex lock;
  return lock;
}

PcdFile* g_open[kPcdMaxExtensionFiles];

}  // namespace

PcdStatus PcdOpenExtensionFile(const char* path, PcdFile*& file) {
  file = nullptr;
  std::lock_guard<std::mutex> hold(TableLock());
  for (PcdFile*& entry : g_open) {
    if (entry) continue;
    PcdStatus status = PcdFileOpen(path, file);
    if (status == kPcdOk) entry = file;
    return status;
  }
  return kPcdOpenFailed;
}

PcdStatus PcdCloseExtensionFile(PcdFile* file) {
  if (!file) return kPcdOk;
  {
    std::lock_guard<std::mutex> hold(TableLock());
    for (PcdFile*& entry : g_open)
      if (entry == file) entry = nullptr;
  }
  return PcdFileClose(file);
}
