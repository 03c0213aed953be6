// Rows of stored PhotoYCC row pairs (the base levels of an image pack and the
// thumbnails of the overview pack) as luma with full-width chroma: chroma is
// widened along the row, and odd rows average the chroma of their pair and
// the next one.
#pragma once
#include <cstdint>
#include <vector>

#include "pcd_file.h"
#include "pcd_status.h"

struct BaseRowSource {
  std::uint32_t offset;  // file offset of row pair 0
  int pairWidth;         // luma samples per stored row
  int pairCount;         // row pairs stored
  bool halved;           // output row r is every second luma sample of pair r (BASE/64 from BASE/16)
  bool lumaOnly;         // chroma is not needed and is never read
  const std::uint8_t* memory = nullptr;  // the row pairs already read, instead of the file
};

// The source of level 0 to 3 of an image pack.
BaseRowSource PcdImagePackBaseSource(int level, bool lumaOnly);

class BaseRowReader {
 public:
  // 3016 when the buffers cannot be had.
  PcdStatus Begin(PcdFile* file, const BaseRowSource& source);
  // Output rows are asked for in increasing order. The pointers stay valid
  // until the next call. 3009, 3007, 5 (pair cut short by the end of the file).
  PcdStatus Row(int row, const std::uint8_t*& y, const std::uint8_t*& c1, const std::uint8_t*& c2);
  int Width() const { return source_.halved ? source_.pairWidth / 2 : source_.pairWidth; }
  int Height() const { return source_.halved ? source_.pairCount : 2 * source_.pairCount; }

 private:
  struct Pair {
    int index = -1;
    std::vector<std::uint8_t> bytes;   // as stored: luma, luma, chroma 1, chroma 2
    std::vector<std::uint8_t> chroma;  // widened chroma 1, then widened chroma 2
  };
  PcdStatus Load(int index, Pair*& pair);

  PcdFile* file_ = nullptr;
  BaseRowSource source_{};
  Pair pairs_[2];
  std::vector<std::uint8_t> luma_;     // halved luma
  std::vector<std::uint8_t> average_;  // vertically averaged chroma 1 and 2
};
