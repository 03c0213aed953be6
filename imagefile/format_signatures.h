// Header checks of the formats the reader identifies.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace imagefile {

bool looksLikeBmp(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string& extension);
bool looksLikePhotoCd(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string& extension);
bool looksLikeTiff(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string& extension);
bool looksLikeJpeg(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string& extension);

}  // namespace imagefile
