// Exit statuses of lumivexa-cli that scripts can rely on; every command uses
// these and --help and the README list them.
#pragma once

namespace cli {

constexpr int kExitOk = 0;          // every photo whole at the level asked for
constexpr int kExitFailed = 1;      // a photo or input could not be read or written
constexpr int kExitUsage = 2;       // bad command line
constexpr int kExitRepaired = 3;    // all written, but some repaired or from a lower level
constexpr int kExitInterrupted = 130;

}  // namespace cli
