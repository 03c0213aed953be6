// The one conversion between the program's text, UTF-8 everywhere inside, and
// the UTF-16 that every Win32 W function takes and gives. Unpaired surrogates
// and bytes that are not UTF-8 become U+FFFD.
#pragma once
#include <string>

std::wstring Utf16(const char* text);  // null gives an empty text
std::wstring Utf16(const std::string& text);
std::string Utf8(const wchar_t* text);  // null gives an empty text
std::string Utf8(const std::wstring& text);

// Text the program stored before it spoke UTF-8 (recent folders in the
// registry) is in the system's ANSI code page: text that is not valid UTF-8 is
// read as that, so old entries keep their names.
std::string Utf8FromStoredText(const std::string& text);
