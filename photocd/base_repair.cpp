// The base levels BASE/16, BASE/4 and BASE read whole, with lost sectors
// filled from the next smaller level enlarged: sectors that do not read,
// sectors past the end of a file cut short, and sectors that read as zeros.
// Unreadable sectors of old discs come out of rips as zeros, and no scan
// holds a whole sector of them (zero luma with zero chroma is a saturated
// dark green); a ddrescue map says which zeros are the disc's own.
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

// PhotoYCC of a middle grey.
constexpr std::uint8_t kNeutralLuma = 100, kNeutralChroma1 = 156, kNeutralChroma2 = 137;

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

// BASE/16 has no level below: its lost sectors become neutral grey, so that
// what the file does not hold never shows as a colour.
void FillNeutral(std::vector<std::uint8_t>& pairs, int level, const std::vector<std::uint32_t>& lost) {
  const std::uint32_t w = static_cast<std::uint32_t>(pcd::LevelWidth(level));
  const std::uint32_t pairBytes = pcd::RowPairBytes(w);
  for (std::uint32_t sector : lost)
    for (std::uint32_t at = sector * pcd::kSectorSize; at < (sector + 1) * pcd::kSectorSize && at < pairs.size(); ++at) {
      const std::uint32_t within = at % pairBytes;
      pairs[at] = within < 2 * w ? kNeutralLuma : within < 2 * w + w / 2 ? kNeutralChroma1 : kNeutralChroma2;
    }
}

// Every byte of a lost sector of level from the level below, enlarged.
void Fill(std::vector<std::uint8_t>& pairs, int level, const std::vector<std::uint32_t>& lost,
          const EnlargedPlanes& below) {
  const std::uint32_t w = static_cast<std::uint32_t>(pcd::LevelWidth(level));
  const std::uint32_t pairBytes = pcd::RowPairBytes(w);
  for (std::uint32_t sector : lost)
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

// Which sectors of a level are lost: those that did not read, those past the
// end of the file (a sector the file ends inside included), and without a
// ddrescue map to vouch for them those that read as zeros.
LevelSectors LostSectors(const std::vector<std::uint8_t>& pairs, std::uint32_t got,
                         const std::vector<std::uint32_t>& unreadable, bool trustZeros) {
  LevelSectors lost;
  const std::uint32_t sectors = static_cast<std::uint32_t>(pairs.size() / pcd::kSectorSize);
  std::size_t next = 0;
  for (std::uint32_t s = 0; s < sectors; ++s) {
    const bool failed = next < unreadable.size() && unreadable[next] == s;
    next += failed;
    if (failed) {
      ++lost.unreadable;
    } else if ((s + 1) * pcd::kSectorSize > got) {
      ++lost.pastEnd;
    } else if (trustZeros || !ZeroSector(pairs.data() + std::size_t{s} * pcd::kSectorSize)) {
      continue;
    }
    lost.sectors.push_back(s);
  }
  return lost;
}

PcdStatus LoadLevel(ImagePack& pack, DecodeState& state, int level) {
  std::vector<std::uint8_t>& held = state.baseLevels[level];
  if (!held.empty()) return kPcdOk;
  std::vector<std::uint8_t> pairs;
  LevelSectors lost;
  try {
    pairs.assign(LevelBytes(level), 0);
    std::uint32_t got = 0;
    std::vector<std::uint32_t> unreadable;
    const PcdStatus read = PcdFileReadAround(pack.file, LevelOffset(level), pairs.data(),
                                             static_cast<std::uint32_t>(pairs.size()), got, unreadable);
    if (read != kPcdOk) return read;
    if (got == 0) return kPcdEndOfFile;  // nothing of the level is left to build on
    lost = LostSectors(pairs, got, unreadable, PcdFileHasRescueMap(pack.file));
    // Nothing of BASE/16 is left to show.
    if (level == pcd::kLevelBase16 && lost.sectors.size() * pcd::kSectorSize == pairs.size())
      return lost.unreadable ? kPcdReadFailed : kPcdEndOfFile;
    if (!lost.sectors.empty() && level > pcd::kLevelBase16) {
      const PcdStatus status = LoadLevel(pack, state, level - 1);
      if (status != kPcdOk) return status;
      EnlargedPlanes below;
      Enlarge(state.baseLevels[level - 1], level - 1, below);
      Fill(pairs, level, lost.sectors, below);
    } else {
      FillNeutral(pairs, level, lost.sectors);
    }
  } catch (const std::bad_alloc&) {
    return kPcdOutOfMemory;
  }
  state.baseLost[level] = lost;
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
    if (!state->baseLevels[l].empty()) {
      PcdLevelDamage& damage = state->damage.levels[l];
      damage.sectorsFilled = static_cast<int>(state->baseLost[l].sectors.size());
      damage.sectorsUnreadable = state->baseLost[l].unreadable;
      damage.sectorsPastEnd = state->baseLost[l].pastEnd;
    }
  pairs = state->baseLevels[level].data();
  return kPcdOk;
}
