// The base levels BASE/16, BASE/4 and BASE read whole, with sectors that read
// as zeros filled from the next smaller level enlarged. Unreadable sectors of
// old discs come out of rips as zeros, and no scan holds a whole sector of
// them (zero luma with zero chroma is a saturated dark green); a pack cut
// short reads as zeros past its end.
#include <algorithm>
#include <new>

#include "decode_internal.h"
#include "image_decode.h"
#include "pcd_upsample.h"

namespace {

std::uint32_t LevelOffset(int level) {
  return level == pcd::kLevelBase16 ? pcd::kBase16Offset : level == pcd::kLevelBase4 ? pcd::kBase4Offset : pcd::kBaseOffset;
}

std::size_t LevelBytes(int level) {
  return std::size_t{pcd::RowPairBytes(pcd::LevelWidth(level))} * (pcd::LevelHeight(level) / 2);
}

bool ZeroSector(const std::uint8_t* sector) {
  return std::all_of(sector, sector + pcd::kSectorSize, [](std::uint8_t b) { return b == 0; });
}

// Luma, chroma 1 and chroma 2 of a level's row pairs, each enlarged 2x: the
// samples the next level up has where its own are lost.
struct EnlargedPlanes {
  std::vector<std::uint8_t> luma, chroma[2];
};

void Enlarge(const std::vector<std::uint8_t>& pairs, int level, EnlargedPlanes& out) {
  const int w = pcd::LevelWidth(level), h = pcd::LevelHeight(level);
  const std::size_t pairBytes = pcd::RowPairBytes(w);
  std::vector<std::uint8_t> luma(static_cast<std::size_t>(w) * h), chroma[2];
  for (auto& c : chroma) c.resize(luma.size() / 4);
  for (int pair = 0; pair < h / 2; ++pair) {
    const std::uint8_t* p = pairs.data() + pair * pairBytes;
    std::copy_n(p, 2 * w, luma.data() + static_cast<std::size_t>(2 * pair) * w);
    for (int plane = 0; plane < 2; ++plane)
      std::copy_n(p + 2 * w + plane * (w / 2), w / 2, chroma[plane].data() + static_cast<std::size_t>(pair) * (w / 2));
  }
  out.luma.resize(luma.size() * 4);
  PcdEnlarge2x(luma.data(), w, h, out.luma.data());
  for (int plane = 0; plane < 2; ++plane) {
    out.chroma[plane].resize(luma.size());
    PcdEnlarge2x(chroma[plane].data(), w / 2, h / 2, out.chroma[plane].data());
  }
}

// Every byte of a zeroed sector of level from the level below, enlarged.
void Fill(std::vector<std::uint8_t>& pairs, int level, const std::vector<std::uint32_t>& zeroed,
          const EnlargedPlanes& below) {
  const std::uint32_t w = static_cast<std::uint32_t>(pcd::LevelWidth(level));
  const std::uint32_t pairBytes = pcd::RowPairBytes(w);
  for (std::uint32_t sector : zeroed)
    for (std::uint32_t at = sector * pcd::kSectorSize; at < (sector + 1) * pcd::kSectorSize && at < pairs.size(); ++at) {
      const std::uint32_t pair = at / pairBytes, within = at % pairBytes;
      if (within < 2 * w) {
        pairs[at] = below.luma[(2 * pair + within / w) * w + within % w];
      } else {
        const std::uint32_t c = within - 2 * w;
        pairs[at] = below.chroma[c / (w / 2)][pair * (w / 2) + c % (w / 2)];
      }
    }
}

PcdStatus LoadLevel(ImagePack& pack, DecodeState& state, int level) {
  std::vector<std::uint8_t>& held = state.baseLevels[level];
  if (!held.empty()) return kPcdOk;
  std::vector<std::uint8_t> pairs;
  std::vector<std::uint32_t> zeroed;
  try {
    pairs.assign(LevelBytes(level), 0);
    if (PcdFileSeek(pack.file, LevelOffset(level)) != kPcdOk) return kPcdSeekFailed;
    std::uint32_t got = 0;
    if (PcdFileRead(pack.file, pairs.data(), static_cast<std::uint32_t>(pairs.size()), got) != kPcdOk) return kPcdReadFailed;
    if (got == 0) return kPcdEndOfFile;  // nothing of the level is left to build on
    for (std::uint32_t s = 0; s < pairs.size() / pcd::kSectorSize; ++s)
      if (ZeroSector(pairs.data() + std::size_t{s} * pcd::kSectorSize)) zeroed.push_back(s);
    if (!zeroed.empty() && level > pcd::kLevelBase16) {
      const PcdStatus status = LoadLevel(pack, state, level - 1);
      if (status != kPcdOk) return status;
      EnlargedPlanes below;
      Enlarge(state.baseLevels[level - 1], level - 1, below);
      Fill(pairs, level, zeroed, below);
    }
  } catch (const std::bad_alloc&) {
    return kPcdOutOfMemory;
  }
  state.baseZeroedSectors[level] = static_cast<int>(zeroed.size());
  held = std::move(pairs);
  return kPcdOk;
}

}  // namespace

PcdStatus PcdReadBaseLevel(ImagePack* pack, int level, const std::uint8_t*& pairs) {
  pairs = nullptr;
  if (!pack || level < pcd::kLevelBase16 || level > pcd::kLevelBase) return kPcdInvalidArgument;
  DecodeState* state = nullptr;
  PcdStatus status = PcdGetDecodeState(*pack, state);
  if (status == kPcdOk) status = LoadLevel(*pack, *state, level);
  if (status != kPcdOk) return status;
  for (int l = pcd::kLevelBase16; l <= level; ++l)
    if (!state->baseLevels[l].empty()) state->damage.levels[l].sectorsFilled = state->baseZeroedSectors[l];
  pairs = state->baseLevels[level].data();
  return kPcdOk;
}
