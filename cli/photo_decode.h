// Decodes one input into a 24-bit bottom-up DIB section. Photo CD image packs
// decode through the toolkit at every level, their colours converted either
// with the image reader's tables (highlights clipped, as the program's own
// export shows BASE) or through the toolkit's output curve (highlights rolled
// off); other formats go through the image reader.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "imagefile/image_reader.h"
#include "imaging/dib_types.h"
#include "imaging/quarter_turns.h"
#include "photocd/image_info.h"

namespace cli {

enum class Highlights { Clip, Rolloff };

struct DecodeSettings {
  int level = 5;  // highest Photo CD level wanted, 0 (BASE/64) to 6 (BASE*64)
  Highlights highlights = Highlights::Rolloff;
  double gamma = 1.0;
  int threads = 1;  // 2: a photo's levels above BASE decode on two threads
};

class DecodedPhoto {
 public:
  DecodedPhoto() = default;
  DecodedPhoto(const DecodedPhoto&) = delete;
  DecodedPhoto& operator=(const DecodedPhoto&) = delete;
  ~DecodedPhoto();

  imaging::BitmapHandle bitmap() const { return owned_ ? owned_ : reader_ ? reader_->dibSection() : nullptr; }
  // Turns the picture; false on failure.
  bool rotate(imaging::QuarterTurns turn);

  bool photoCd = false;
  int level = -1;  // the Photo CD level decoded
  std::string note;  // why a lower level than asked for was decoded
  bool lowerLevel = false;  // the picture (or some of it) comes from a lower level than asked for
  std::vector<std::string> repairs;  // damage decoded around, one short line each
  bool hasInfo = false;
  ImagePackInfo info{};

 private:
  friend bool decodePhoto(const std::string&, const DecodeSettings&, DecodedPhoto&, std::string&);
  std::unique_ptr<imagefile::ImageReader> reader_;  // keeps the page's bitmap
  imaging::BitmapHandle owned_ = nullptr;
};

// The level a pack with the given level mask decodes for a wanted level: the
// highest it holds at or below it, BASE/64 counting as BASE/16.
int chooseLevel(unsigned levelMask, int wanted);

bool decodePhoto(const std::string& path, const DecodeSettings& settings, DecodedPhoto& out, std::string& error);

// Why the file at path opens as no image pack, in the words export uses for
// it, so that every command gives the same reason; empty when it opens.
std::string whyNotAPack(const std::string& path);

}  // namespace cli
