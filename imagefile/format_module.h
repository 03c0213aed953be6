// The seam between the image reader and the per-format code. A format module
// is a header check plus, when the format is decoded, a decoder factory. A
// decoder reads the headers (open), describes one page (selectPage), then
// delivers rows into the output stage (beginRows, deliverRows) and ends.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imagefile/image_source.h"
#include "imaging/output_stage.h"

namespace imagefile {

enum FormatId : int {
  kFormatUnidentified = -2,
  kFormatUnrecognised = -1,
  kFormatJpeg = 0,
  kFormatGif = 1,
  kFormatBmp = 2,
  kFormatTga = 3,
  kFormatPcx = 4,  // PCX and DCX
  kFormatTiff = 5,
  kFormatPhotoCd = 6,
  kFormatPng = 7,
  kFormatKodakCamera = 8,
  kFormatWmf = 9,
  kFormatIff = 10,
  kFormatPhotoshop = 11,
  kFormatPict = 12,
  kFormatSgi = 13,
  kFormatAliasPix = 14,
  kFormatEmf = 15,
};

// colourType values the decoders report.
enum ColourType : int { kColourGrey = 1, kColourPalette = 2, kColourTrue = 3 };

// How faithful a decoded page is to the file's own picture: parts repaired
// around damage, or the whole made from a lower level than the one asked for.
struct DecodeDamage {
  bool repaired = false;
  bool lowerLevel = false;
  std::vector<std::string> details;  // one short line per cause
  bool any() const { return repaired || lowerLevel; }
};

class FormatDecoder : public imaging::RowSource {
 public:
  // Reads the file's headers and reports its number of pages. 0 or an error code.
  virtual int open(ImageSource& source, int* pageCount) = 0;
  // Describes a page and makes it the one beginRows/deliverRows deliver. 0 or an error code.
  virtual int selectPage(int page, imaging::SourceDescription& description) = 0;
  // Threads the decode of one page may use (formats that can use more than one).
  virtual void setThreads(int /*threads*/) {}
  // Highest Photo CD level the next selectPage offers; -1 = the program's requested level.
  virtual void setLevel(int /*level*/) {}
  // Photo CD: base levels roll highlights off too (DecodeRequest::rollOffBaseLevels).
  virtual void setRollOffBaseLevels(bool /*rollOff*/) {}
  // What the decode of the page so far went around (asked before end).
  virtual DecodeDamage damage() const { return {}; }
  // The decode is over (complete or not); drop per-decode state.
  virtual void end() {}
};

struct FormatModule {
  int id;
  // Header check on the first bytes of the data (up to 4095), its total size
  // and the path's lower-case extension (empty for other sources).
  bool (*recognise)(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string& extension);
  // Null while the format is recognised but not decoded.
  std::unique_ptr<FormatDecoder> (*createDecoder)();
};

// The modules built in, in the order identification tries them.
const std::vector<FormatModule>& builtinFormatModules();

constexpr std::size_t kIdentifyBytes = 4095;

}  // namespace imagefile
