#include "imagefile/image_errors.h"

namespace imagefile {

namespace {

// Keep in step with imagefile_strings.rc (a test compares the two).
const char* const kTexts[] = {
    "Invalid operation",                        // 1201
    "Invalid output parameters",                // 1202
    "Cannot open file",                         // 1203
    "I/O read failure",                         // 1204
    "File truncated",                           // 1205
    "I/O seek failure",                         // 1206
    "Bad or unrecognized image header",         // 1207
    "Could not start decoding",                 // 1208
    "Error reading image lines",                // 1209
    "Could not get screen device context",      // 1210
    "Display driver could not create bitmap",   // 1211
    "Error creating palette",                   // 1212
    "Could not set bits in destination bitmap", // 1213
    "Image too wide",                           // 1214
    "Unknown format",                           // 1215
    "Cannot access file",                       // 1216
    "Wrong DLL version",                        // 1217
    "LZW support disabled",                     // 1218
    "The specified page does not exist",        // 1219
    "Missing feature implementation",           // 1220
    "General failure",                          // 1221
};

struct CodeText {
  int code;
  int id;
};

const CodeText kCodeTexts[] = {
    {kImageInvalidOperation, 1201}, {kImageBadOutputParameters, 1202}, {kImageCannotOpen, 1203},
    {kImageReadFailure, 1204},      {kImageTruncated, 1205},           {kImageSeekFailure, 1206},
    {kImageBadHeader, 1207},        {kImageCannotStart, 1208},         {kImageLineError, 1209},
    {kImageNoDeviceContext, 1210},  {kImageDisplayBitmap, 1211},       {kImageFullBitmap, 1211},
    {kImagePalette, 1212},          {kImageSetBits, 1213},             {kImageTooWide, 1214},
    {kImageNoDecoder, 1215},        {kImagePageMissing, 1219},         {kImageMissingFeature, 1220},
    {kImageGeneralFailure, 1221},   {kImageFileMissing, 1216},
};

}  // namespace

int errorTextId(int code) {
  for (const CodeText& entry : kCodeTexts)
    if (entry.code == code) return entry.id;
  return 1221;
}

const char* errorTextById(int id) {
  if (id < kFirstErrorTextId || id > kLastErrorTextId) return nullptr;
  return kTexts[id - kFirstErrorTextId];
}

}  // namespace imagefile
