// Files that survive a crash or a power cut whole or not at all: written under
// a short temporary name in the output's folder, synced, renamed into place and
// the folder synced. A run that dies leaves its temporary files; later runs in
// the same folder remove those of runs that are no longer alive.
#pragma once
#include <string>

namespace cli {

// A temporary name in folder that no other run or worker uses:
// ".lvx-HOST-PID-N.partial", short whatever the final name's length. HOST is
// a hash of the machine's name, so runs on machines sharing a folder never
// take each other's files for dead.
std::string temporaryPathIn(const std::string& folder);
// Removes the temporary files in folder that runs on this machine left and
// that are no longer alive; each folder is looked at once per run.
void removeStalePartials(const std::string& folder);

// Writes the folder's entries (a rename) through to the disk, where the
// system allows it; false with the system's reason.
bool syncFolder(const std::string& folder, std::string& error);

// Platform parts (durable_file_posix.cpp, durable_file_win.cpp).
unsigned long currentProcessId();
bool processAlive(unsigned long processId);
std::string machineName();

}  // namespace cli
