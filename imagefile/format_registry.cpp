#include "imagefile/bmp_decoder.h"
#include "imagefile/format_module.h"
#include "imagefile/format_signatures.h"

namespace imagefile {

const std::vector<FormatModule>& builtinFormatModules() {
  // Identification order: the first match wins.
  static const std::vector<FormatModule> modules = {
      {kFormatBmp, looksLikeBmp, createBmpDecoder},
      {kFormatPhotoCd, looksLikePhotoCd, nullptr},
      {kFormatTiff, looksLikeTiff, nullptr},
      {kFormatJpeg, looksLikeJpeg, nullptr},
  };
  return modules;
}

}  // namespace imagefile
