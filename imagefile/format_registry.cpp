#include "imagefile/bmp_decoder.h"
#include "imagefile/format_module.h"
#include "imagefile/format_signatures.h"
#include "imagefile/photocd_decoder.h"

namespace imagefile {

const std::vector<FormatModule>& builtinFormatModules() {
  // Identification order: the first match wins.
  static const std::vector<FormatModule> modules = {
      {kFormatBmp, looksLikeBmp, createBmpDecoder},
      {kFormatGif, looksLikeGif, nullptr},
      {kFormatPhotoCd, looksLikePhotoCd, createPhotoCdDecoder},
      {kFormatPcx, looksLikePcx, nullptr},
      {kFormatPict, looksLikePict, nullptr},
      {kFormatAliasPix, looksLikeAliasPix, nullptr},
      {kFormatPng, looksLikePng, nullptr},
      {kFormatPhotoshop, looksLikePhotoshop, nullptr},
      {kFormatSgi, looksLikeSgi, nullptr},
      {kFormatTga, looksLikeTga, nullptr},
      {kFormatEmf, looksLikeEmf, nullptr},
      {kFormatWmf, looksLikeWmf, nullptr},
      {kFormatIff, looksLikeIff, nullptr},
      {kFormatKodakCamera, looksLikeKodakCamera, nullptr},
      {kFormatTiff, looksLikeTiff, nullptr},
      {kFormatJpeg, looksLikeJpeg, nullptr},
  };
  return modules;
}

}  // namespace imagefile
