// The sRGB ICC profile exported files embed (made with Little CMS's
// cmsCreate_sRGBProfile; scripts/make-srgb-profile.sh writes cli/srgb.icc).
#pragma once
#include <cstdint>
#include <vector>

namespace cli {

const std::vector<std::uint8_t>& srgbProfile();

}  // namespace cli
