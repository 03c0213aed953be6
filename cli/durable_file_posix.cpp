#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/durable_file.h"

namespace cli {

namespace {

bool syncPath(const std::string& path, int flags, std::string& error) {
  const int fd = ::open(path.c_str(), flags);
  if (fd < 0 || ::fsync(fd) != 0) {
    error = std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return false;
  }
  ::close(fd);
  return true;
}

}  // namespace

bool syncFolder(const std::string& folder, std::string& error) {
  return syncPath(folder.empty() ? "." : folder, O_RDONLY | O_DIRECTORY, error);
}

unsigned long currentProcessId() { return static_cast<unsigned long>(::getpid()); }

// A process that exists but belongs to someone else (EPERM) is alive too.
bool processAlive(unsigned long processId) {
  return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno != ESRCH;
}

std::string machineName() {
  char name[256] = {};
  ::gethostname(name, sizeof name - 1);
  return name;
}

}  // namespace cli
