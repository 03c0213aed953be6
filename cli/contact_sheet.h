// A disc's contact sheet, like a lab's index print: a title with the disc's
// serial number and date, then every photo's overview thumbnail in a grid on
// white, its number beneath.
#pragma once
#include <string>
#include <vector>

#include "cli/photo_inputs.h"
#include "imaging/dib_types.h"
#include "imaging/pixel_types.h"

namespace cli {

class ContactSheetLayout {
 public:
  static constexpr int kBox = 192;  // a thumbnail's box: 192 x 128 either way up
  static constexpr int kMargin = 16;
  static constexpr int kLabelHeight = 24;  // below the box, the number in it
  static constexpr int kDigitScale = 2;   // font dots per pixel side
  static constexpr int kTitleHeight = 32;  // above the grid, the title in it

  ContactSheetLayout(int photoCount, int columns);
  int width() const;
  int height() const;
  // Where photo index (0-based) of a thumbnail of the given size lands,
  // centred in its box; top-down sheet coordinates.
  imaging::PixelRect picture(int index, int width, int height) const;
  // The box of the photo's number, below its thumbnail box.
  imaging::PixelRect label(int index) const;
  // The band of the title, across the top.
  imaging::PixelRect title() const;

 private:
  imaging::PixelRect box(int index) const;
  int columns_, rows_;
};

// Draws the sheet into a new 24-bit DIB section (null on failure, with a
// message). A thumbnail the overview cannot give comes from the photo's own
// pack; a photo neither gives stays a grey box, with a line in problems.
imaging::BitmapHandle makeContactSheet(const DiscInput& disc, int columns, const std::string& title,
                                       std::vector<std::string>& problems, std::string& error);

}  // namespace cli
