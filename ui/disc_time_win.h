// Times recorded on a Photo CD (seconds since 1970) as the user's local date
// and time texts.
#pragma once
#include <cstdint>
#include <string>

// Local file time of 1970-01-01 00:00 (the base of disc times).
std::uint64_t LocalEpochFileTime();
// Short date, a blank and the time without seconds, in the user's locale;
// the short date alone when withTime is false.
std::string FormatDateTime(std::uint64_t localFileTime, bool withTime = true);
// A disc time counted from the local 1970 epoch, as FormatDateTime writes it.
std::string DiscTimeText(std::uint32_t seconds);
