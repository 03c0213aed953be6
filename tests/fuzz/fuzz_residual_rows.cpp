// Residual rows of an image pack as hostile input: every 4BASE luma row, every
// 16BASE luma row and the 16BASE chroma rows in stored order, row after row
// as a whole-level decode reads them, then every seventh row alone, as bands
// far apart find them. Every row is asked for however many before it failed:
// a row that cannot be found must cost little. The input is the attribute
// block and the pack from the 4BASE row table on (see WriteResidualPack).
#include "decode_internal.h"
#include "fuzz_files.h"
#include "pcd_layout.h"

namespace {

// Rows 0, step, 2 step, ... below end of one level and plane.
void ReadRows(ImagePack& pack, int level, int plane, int end, int step) {
  for (int row = 0; row < end; row += step) {
    const std::int8_t* values = nullptr;
    PcdResidualRow(pack, level, plane, row, values);
  }
}

void ReadChroma(ImagePack& pack, int step) {
  for (int row = 0; row < pcd::LevelHeight(pcd::kLevel4Base); row += step) {
    const std::int8_t* values = nullptr;
    PcdResidualRow(pack, pcd::kLevel16Base, 1, row, values);
    PcdResidualRow(pack, pcd::kLevel16Base, 2, row, values);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  const std::string path = WriteResidualPack(folder, data, size);
  ImagePack* pack = nullptr;
  if (path.empty() || PcdOpenImagePack(path.c_str(), pack) != kPcdOk) return 0;
  for (int step : {1, 7}) {
    ReadRows(*pack, pcd::kLevel4Base, 0, pcd::LevelHeight(pcd::kLevel4Base), step);
    ReadRows(*pack, pcd::kLevel16Base, 0, pcd::LevelHeight(pcd::kLevel16Base), step);
    ReadChroma(*pack, step);
    PcdFreeRowTables(*pack);
  }
  PcdCloseImagePack(pack);
  return 0;
}
