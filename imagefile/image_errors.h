// Error codes of the image reader and writer, and their texts (string ids
// 1201-1221). Codes 1 and 10-14 are the output stage's own.
#pragma once

namespace imagefile {

enum ImageError : int {
  kImageOk = 0,
  kImageInvalidOperation = 1,
  kImageBadOutputParameters = 2,
  kImageCannotOpen = 3,
  kImageReadFailure = 4,
  kImageTruncated = 5,
  kImageSeekFailure = 6,
  kImageBadHeader = 7,
  kImageCannotStart = 8,
  kImageLineError = 9,
  kImageNoDeviceContext = 10,
  kImageDisplayBitmap = 11,
  kImageFullBitmap = 12,
  kImagePalette = 13,
  kImageSetBits = 14,
  kImageTooWide = 15,
  kImageNoDecoder = 16,      // identified, but no decoder for the format is built
  kImagePageMissing = 19,
  kImageMissingFeature = 20, // a feature of the file (compression, depth) is not supported
  kImageGeneralFailure = 21,
  kImageFileMissing = 101,
};

constexpr int kFirstErrorTextId = 1201;
constexpr int kLastErrorTextId = 1221;

// String id of the text that describes an error code (1221 for unknown codes).
int errorTextId(int code);
// The English text of a string id in 1201..1221, or null.
const char* errorTextById(int id);
inline const char* errorText(int code) { return errorTextById(errorTextId(code)); }

}  // namespace imagefile
