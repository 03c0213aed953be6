#include "imagefile/library_messages.h"

namespace imagefile {

void showLibraryMessage(bool isError, const char* module, const char* text) {
  printLibraryMessage(isError, module, text);
}

}  // namespace imagefile
