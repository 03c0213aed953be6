// The Photo CD reader's level table and its two choices: the highest entry a
// pack offers at the requested Photo CD level, and the entry a decode of a
// given output size reads.
#pragma once
#include <cstdint>

namespace imagefile {

// Entries 0 to 5 are the levels BASE/16 to 64BASE; the reader never offers BASE/64.
constexpr int kPcdEntryCount = 6;
constexpr int kPcdFirstToolkitEntry = 3;  // 4BASE and above come from the toolkit
constexpr int kPcdBaseEntry = 2;          // without the toolkit, entries 0 to 2 (BASE)

constexpr int PcdEntryLevel(int entry) { return entry + 1; }
constexpr int PcdEntryWidth(int entry) { return 3 << (entry + 6); }
constexpr int PcdEntryHeight(int entry) { return 1 << (entry + 7); }

// The highest entry at or below the requested level whose level bit is set in
// the pack's resolution mask; 0 when there is none or the request is 0.
int PcdTopEntry(std::uint16_t resolutionMask, int requestedLevel);

// The first entry up to lastEntry whose size covers the output size outWidth x
// outHeight (display orientation; quarterTurn for rotation codes 1 and 3),
// else lastEntry. Outputs keep the photo's shape, so this is the first entry
// whose width or height reaches the output's.
int PcdDecodeEntry(int lastEntry, bool quarterTurn, int outWidth, int outHeight);

}  // namespace imagefile
