// Where the image libraries' error and warning reports go. The default shows
// errors to the user (a message box on Windows, the error stream elsewhere);
// console programs and tests send everything to the error stream instead.
#pragma once

namespace imagefile {

using LibraryMessageHandler = void (*)(bool isError, const char* module, const char* text);

// Win32: errors in a message box captioned with the module, everything also
// to the debugger output. Elsewhere: the error stream.
void showLibraryMessage(bool isError, const char* module, const char* text);
// "module: text" on the error stream, warnings marked as such.
void printLibraryMessage(bool isError, const char* module, const char* text);

}  // namespace imagefile
