// An open image pack (IMGnnnn.PCD): its levels, orientation and the state
// the decoder works with.
#pragma once
#include <cstdint>

#include "extension_info.h"
#include "image_info.h"
#include "orientation.h"
#include "output_format.h"
#include "pcd_file.h"
#include "pcd_status.h"
#include "sector_reader.h"

// Owned by the caller of PcdOpenImagePack / PcdAttachImagePack; released
// with PcdCloseImagePack, which also closes the file.
struct ImagePack {
  PcdFile* file;
  char* path;                      // as opened (malloc); a second decoding thread opens it again
  std::uint16_t version;           // IPI version word
  bool headerDamaged;              // opened from the picture sectors: levels found, orientation unknown
  int level;                       // current level, 3 (BASE) after opening
  int highestOwnLevel;             // 3, 4 or 5 from the resolution class
  Orientation storedOrientation;   // from the rotation code
  Orientation orientation;         // current
  std::uint8_t attributeBits56;    // kept as read, not used further
  OutputFormat format;
  int bytesPerPixel;
  int componentSpacing;            // 1: the components of a pixel are adjacent
  int outputWidth;                 // of the current level, exchanged when the axes swap
  int outputHeight;
  OutputRect rect;                 // current rectangle, in output coordinates
  std::uint8_t interleaveImage;    // a: image sectors per group
  std::uint8_t interleaveAudio;    // b: audio sectors per group, 0 = none
  std::uint32_t tableSector16Base; // T
  std::uint32_t entryOffset16Base; // E
  ExtensionInfo* extension;        // null without an extension
  ImagePackInfo* info;             // read on first request
  SectorReader reader;
  // Residual row tables while a decode runs (256 and 2048 entries).
  std::uint16_t* rowTable4Base;
  std::uint16_t* rowTable16Base;
  // Code tables, residual positions and extension files, kept until closing.
  struct DecodeState* decode;
};

// Opens the file and attaches it; on failure the file is closed again.
PcdStatus PcdOpenImagePack(const char* path, ImagePack*& pack);

// Builds a handle on a file already open; path is the file's path, used to
// find the extension. On success the handle owns the file; on failure the
// caller still does. 3001 for missing arguments, 3000 for an empty path or a
// wrong signature, 3002 for a version below 0.5 or resolution class 3, 3009,
// 3007, 3016, and the statuses of reading INFO.IPE (an INFO.IPE that does not
// match its layout is ignored: the pack opens with its own levels).
PcdStatus PcdAttachImagePack(const char* path, PcdFile* file, ImagePack*& pack);

// Frees everything the handle holds and closes its file. 3001 without a
// handle, 3008 when closing fails (the handle is freed anyway).
PcdStatus PcdCloseImagePack(ImagePack* pack);

// Bit L of mask set for every available level L; count is the number of bits.
PcdStatus PcdGetResolutionMask(const ImagePack* pack, std::uint16_t& mask, int& count);

// Stored (landscape) size of a level 0 to 6; 3001 and zeros otherwise.
PcdStatus PcdGetLevelSize(int level, int& width, int& height);

// Makes a level 0 to 6 current: output size from the level and orientation,
// rectangle reset to the whole output. 3001 (pack unchanged) otherwise.
PcdStatus PcdSetResolution(ImagePack* pack, int level);

// Copies the image information record, reading it on the first call.
PcdStatus PcdGetImageInfo(ImagePack* pack, ImagePackInfo& info);
