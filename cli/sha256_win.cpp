// SHA-256 through Windows CNG (bcrypt.dll, in every Windows since Vista).
#include <windows.h>
#include <bcrypt.h>

#include "cli/sha256.h"

namespace cli {

namespace {
constexpr ULONG kDigestSize = 32;
}

struct Sha256::State {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  BCRYPT_HASH_HANDLE hash = nullptr;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
  if (BCryptOpenAlgorithmProvider(&state_->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) == 0)
    BCryptCreateHash(state_->algorithm, &state_->hash, nullptr, 0, nullptr, 0, 0);
}

Sha256::~Sha256() {
  if (state_->hash) BCryptDestroyHash(state_->hash);
  if (state_->algorithm) BCryptCloseAlgorithmProvider(state_->algorithm, 0);
}

void Sha256::add(const void* data, std::size_t size) {
  // CNG takes at most ULONG bytes a call.
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (state_->hash && size > 0) {
    const ULONG piece = size > 0x40000000 ? 0x40000000 : static_cast<ULONG>(size);
    BCryptHashData(state_->hash, const_cast<PUCHAR>(bytes), piece, 0);
    bytes += piece;
    size -= piece;
  }
}

std::string Sha256::finishHex() {
  std::uint8_t digest[kDigestSize];
  // Without the system's provider there is no digest to give: an empty text says so.
  if (!state_->hash || BCryptFinishHash(state_->hash, digest, kDigestSize, 0) != 0) return {};
  return hexOf(digest, kDigestSize);
}

}  // namespace cli
