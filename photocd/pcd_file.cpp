// The portable half of the file layer: long reads split into pieces.
#include "pcd_file.h"

namespace {
constexpr std::uint32_t kReadPieceSize = 32768;
}

PcdStatus PcdFileRead(PcdFile* file, void* buffer, std::uint32_t size, std::uint32_t& got) {
  got = 0;
  if (!file || (!buffer && size)) return kPcdInvalidArgument;
  auto* out = static_cast<unsigned char*>(buffer);
  while (got < size) {
    std::uint32_t want = size - got < kReadPieceSize ? size - got : kReadPieceSize;
    std::uint32_t piece = 0;
    if (!PcdFileReadPiece(file, out + got, want, piece)) return kPcdReadFailed;
    got += piece;
    if (piece < want) break;  // end of file
  }
  return kPcdOk;
}
