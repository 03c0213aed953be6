#include <windows.h>

#include <string>

#include "imagefile/library_messages.h"
#include "photocd/pcd_text_win.h"

namespace imagefile {

// Warnings (libtiff warns about choices that work, such as Deflate's old tag
// value) go to the debugger only, so that they do not interrupt an export.
void showLibraryMessage(bool isError, const char* module, const char* text) {
  std::string caption = module ? module : "";
  std::string body = std::string(text ? text : "") + "\n";
  OutputDebugStringW(Utf16(caption).c_str());
  OutputDebugStringW(Utf16(body).c_str());
  if (isError) MessageBoxW(nullptr, Utf16(body).c_str(), Utf16(caption).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace imagefile
