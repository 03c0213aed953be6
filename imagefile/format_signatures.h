// Header checks of the formats the reader identifies.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace imagefile {

// A header check: the first bytes of the data (up to 4095), the data's total
// size and the path's lower-case extension with its dot (empty for other sources).
using SignatureCheck = bool(const std::uint8_t* head, std::size_t length, std::uint64_t size,
                            const std::string& extension);

// In identification order.
SignatureCheck looksLikeBmp;
SignatureCheck looksLikeGif;
SignatureCheck looksLikePhotoCd;
SignatureCheck looksLikePcx;
SignatureCheck looksLikePict;
SignatureCheck looksLikeAliasPix;
SignatureCheck looksLikePng;
SignatureCheck looksLikePhotoshop;
SignatureCheck looksLikeSgi;
SignatureCheck looksLikeTga;
SignatureCheck looksLikeEmf;
SignatureCheck looksLikeWmf;
SignatureCheck looksLikeIff;
SignatureCheck looksLikeKodakCamera;
SignatureCheck looksLikeTiff;
SignatureCheck looksLikeJpeg;

}  // namespace imagefile
