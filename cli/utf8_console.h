// The converter's text is UTF-8 throughout: its arguments, the names it opens
// and what it prints.
#pragma once
#include <string>
#include <vector>

namespace cli {

// Called once at the start of main: returns the arguments as UTF-8. On Windows
// they come from the wide command line (the narrow argv holds only what the
// ANSI code page can spell), file names given to the lower layers are taken
// as UTF-8 from then on, and the console shows UTF-8 output until the program
// ends. Elsewhere the arguments are returned as they are.
std::vector<std::string> switchToUtf8(int argc, char** argv);

}  // namespace cli
