#include "imagefile/bmp_decoder.h"
#include "imagefile/format_module.h"
#include "imagefile/format_signatures.h"
#include "imagefile/photocd_decoder.h"

namespace imagefile {

const std::vector<FormatModule>& builtinFormatModules() {
  // Identification order: the first match wins.
  static const std::vector<FormatModule> modules = {
      {kFormatBmp, looksLikeBmp, createBmpDecoder},
      {kFormatPhotoCd, looksLikePhotoCd, createPhotoCdDecoder},
      {kFormatTiff, looksLikeTiff, nullptr},
      {kFormatJpeg, looksLikeJpeg, nullptr},
  };
  return modules;
}

}  // namespace imagefile
