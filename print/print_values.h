// Numbers of the print setup dialog and of the print job that need no window:
// decimal fields, value ranges, the preview's place and the decode size.
#pragma once
#include <string>

#include "settings/print_options.h"
#include "imaging/pixel_types.h"
#include "print/print_layout.h"

namespace print {

// value with exactly two decimals after the given separator ("1,25").
std::string FormatDecimal(double value, const std::string& separator);
// Reads a decimal field: the separator's first character stands for the point;
// text that is not a number reads as 0.
double ParseDecimal(const std::string& text, const std::string& separator);

// Ranges of the dialog's fields; values up to 0.001 outside still pass.
struct ValueRange {
  double low;
  double high;
  bool Contains(double value) const { return value >= low - 0.001 && value <= high + 0.001; }
};
constexpr ValueRange kSizeRange{0.1, 1000.0};
constexpr ValueRange kMarginRange{0.0, 1000.0};
constexpr ValueRange kGammaRange{0.1, 3.0};

// True when the margins leave some of the page to print on.
bool MarginsLeaveRoom(const PrintOptions& options, const PageMetrics& metrics);

// Zero sizes and gamma (a record stored before they existed) get their defaults.
void ReplaceZeroValues(PrintOptions& options);

// The largest rectangle of the page's shape centred in the placeholder.
imaging::PixelRect FitPreview(const imaging::PixelRect& placeholder, int pageWidth, int pageHeight);

// Size to decode a photo at for a destination of destWidth x destHeight
// printer pixels: the whole image unless it holds more than twice the pixels
// the rendering resolution needs, then about that. 0 x 0 means the full size.
struct DecodeSize {
  int width = 0;
  int height = 0;
};
DecodeSize PrintDecodeSize(int destWidth, int destHeight, int renderDpi, int ppiX, int ppiY, int sourceWidth,
                           int sourceHeight, int imageWidth, int imageHeight);

// A rectangle of the image scaled to the decoded bitmap's pixels.
imaging::PixelRect ScaleToDecoded(const imaging::PixelRect& rect, int imageWidth, int imageHeight, int decodedWidth,
                                  int decodedHeight);

}  // namespace print
