// SHA-256 through nettle.
#include <nettle/sha2.h>

#include "cli/sha256.h"

namespace cli {

struct Sha256::State {
  sha256_ctx context;
};

Sha256::Sha256() : state_(std::make_unique<State>()) { sha256_init(&state_->context); }
Sha256::~Sha256() = default;

void Sha256::add(const void* data, std::size_t size) {
  sha256_update(&state_->context, size, static_cast<const std::uint8_t*>(data));
}

std::string Sha256::finishHex() {
  std::uint8_t digest[SHA256_DIGEST_SIZE];
  sha256_digest(&state_->context, SHA256_DIGEST_SIZE, digest);
  return hexOf(digest, sizeof digest);
}

}  // namespace cli
