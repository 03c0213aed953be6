// Text between narrow code pages and the UTF-16 of the system's W functions,
// for the Windows backends (the file layer's names, the converter's arguments
// and system messages). Characters a code page cannot hold become its default
// character; unpaired surrogates become U+FFFD.
#pragma once
#include <string>

std::wstring PcdWideText(const char* text, unsigned codePage);
std::string PcdNarrowText(const wchar_t* text, unsigned codePage);
