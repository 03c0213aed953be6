// A valid 16BASE pack with a few edits as damage: bytes written, sectors
// zeroed, bytes filled with ones, a bit flipped, the file cut, a range copied
// elsewhere, each in the header, the base levels, the tables or the residual
// rows. The level is decoded from its top row down to the end of a band (as
// a whole decode reads it), then the band alone on a fresh handle, and the
// band must equal the same rows of the first decode.
// Input: one byte choosing the level (bit 0: 4BASE or 16BASE) and the band,
// a byte of band height, then 8-byte edits: kind, part, 4 bytes of place,
// 2 bytes of length or value.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "author.h"
#include "fuzz_files.h"
#include "image_decode.h"
#include "image_pack.h"
#include "pack_writer.h"
#include "pcd_layout.h"
#include "pyramid.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ValidPack() {
  pcdmake::PhotoJob job;
  job.source = "scene:photo:3";
  job.rotation = 0;
  const pcdmake::SourcePicture source = pcdmake::LoadSource(job);
  return pcdmake::WriteImagePack(pcdmake::BuildLevels(pcdmake::StoredPicture(source), 5), job.pack);
}

struct Part {
  std::size_t begin, end;
};

// The parts of the pack edits fall in: header sectors, base levels, 4BASE
// tables, 4BASE rows, 16BASE tables, 16BASE rows.
std::vector<Part> Parts(const Bytes& pack) {
  const std::size_t k = std::size_t{pack[pcd::kAttributeOffset + pcd::kAttrKOffset]} << 8 |
                        pack[pcd::kAttributeOffset + pcd::kAttrKOffset + 1];
  const std::size_t sector = pcd::kSectorSize;
  return {{0, pcd::kBaseOffset},
          {pcd::kBaseOffset, pcd::k4BaseRowTableOffset},
          {pcd::k4BaseRowTableOffset, pcd::k4BaseFirstRowSector * sector},
          {pcd::k4BaseFirstRowSector * sector, k * sector},
          {k * sector, (k + pcd::k16BaseFirstRowSectorDelta) * sector},
          {(k + pcd::k16BaseFirstRowSectorDelta) * sector, pack.size()}};
}

void Edit(Bytes& pack, const std::vector<Part>& parts, const std::uint8_t* e) {
  const Part& part = parts[e[1] % parts.size()];
  if (part.end <= part.begin || part.end > pack.size()) return;
  const std::uint32_t place = static_cast<std::uint32_t>(e[2]) << 24 | e[3] << 16 | e[4] << 8 | e[5];
  const std::size_t at = part.begin + place % (part.end - part.begin);
  const std::size_t length = std::min<std::size_t>(e[6] << 8 | e[7], pack.size() - at);
  switch (e[0] % 6) {
    case 0: pack[at] = e[6], pack[std::min(at + 1, pack.size() - 1)] = e[7]; break;  // write two bytes
    case 1: {  // zero whole sectors
      const std::size_t first = at - at % pcd::kSectorSize;
      std::memset(pack.data() + first, 0, std::min<std::size_t>((e[7] % 64 + 1) * pcd::kSectorSize, pack.size() - first));
      break;
    }
    case 2: std::memset(pack.data() + at, 0xFF, std::min<std::size_t>(length % 64, pack.size() - at)); break;
    case 3: pack[at] ^= static_cast<std::uint8_t>(1u << (e[6] % 8)); break;
    case 4: if (at > pcd::kBaseOffset) pack.resize(at); break;
    case 5: {  // copy a range of the pack over another place
      const std::size_t from = (place >> 8) % pack.size();
      const std::size_t n = std::min({length, pack.size() - from, pack.size() - at});
      std::memmove(pack.data() + at, pack.data() + from, n);
      break;
    }
  }
}

Bytes Decode(const std::string& path, int level, const OutputRect* rect, int width, int rows) {
  Bytes pixels(static_cast<std::size_t>(width) * rows * 3);
  ImagePack* pack = nullptr;
  if (PcdOpenImagePack(path.c_str(), pack) != kPcdOk) return {};
  PcdStatus status = PcdSetResolution(pack, level);
  if (status == kPcdOk) status = PcdSetFormat(pack, static_cast<int>(OutputFormat::RawYcc24));
  if (status == kPcdOk) status = PcdReadRect(pack, rect, pixels.data(), 3 * width);
  PcdCloseImagePack(pack);
  return status == kPcdOk ? pixels : Bytes{};
}

// Authored once, before the first input, so that its time counts for none.
const Bytes* g_valid = nullptr;
const std::vector<Part>* g_parts = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_valid = new Bytes(ValidPack());
  g_parts = new std::vector<Part>(Parts(*g_valid));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static FuzzFolder folder;
  if (size < 2) return 0;
  Bytes pack = *g_valid;
  for (std::size_t at = 2; at + 8 <= size && at < 2 + 8 * 4; at += 8) Edit(pack, *g_parts, data + at);
  const std::string path = folder.Write("PHOTO_CD/IMAGES/IMG0001.PCD", pack.data(), pack.size());
  const int level = data[0] & 1 ? pcd::kLevel16Base : pcd::kLevel4Base;
  const int width = pcd::LevelWidth(level), height = pcd::LevelHeight(level);
  const int top = (data[0] >> 1) * height / 128;
  const int rows = std::min(data[1] % 64 + 1, height - top);
  const auto rect = [width](int from, int to) {
    return OutputRect{static_cast<std::int16_t>(from), 0, static_cast<std::int16_t>(to), static_cast<std::int16_t>(width)};
  };
  const OutputRect down = rect(0, top + rows), band = rect(top, top + rows);
  const Bytes whole = Decode(path, level, &down, width, top + rows);
  if (whole.empty()) return 0;
  const Bytes part = Decode(path, level, &band, width, rows);
  // Both buffers hold their last row first.
  if (part.empty() || std::memcmp(part.data(), whole.data(), part.size()) != 0) std::abort();
  return 0;
}
