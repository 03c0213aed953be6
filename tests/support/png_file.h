// Writes 24-bit pictures as PNG files (uncompressed deflate blocks: screenshots
// for people to look at, no library needed).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// rgb holds height rows of width red, green, blue bytes, top row first.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);
