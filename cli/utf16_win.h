// Text from the system's wide (W) functions as the converter's UTF-8.
#pragma once
#include <string>

namespace cli {

// Unpaired surrogates become U+FFFD.
std::string utf8Of(const wchar_t* text);

}  // namespace cli
