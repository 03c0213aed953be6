#include "cli/utf8_console.h"

namespace cli {

// POSIX names and arguments are bytes, UTF-8 by convention: nothing to convert.
std::vector<std::string> switchToUtf8(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

}  // namespace cli
