#include "imagefile/library_messages.h"

#include <cstdio>

namespace imagefile {

void printLibraryMessage(bool isError, const char* module, const char* text) {
  std::fprintf(stderr, "%s%s: %s\n", isError ? "" : "warning: ", module ? module : "", text ? text : "");
}

}  // namespace imagefile
