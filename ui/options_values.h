// The rules behind the Options sheet's controls: the slide-show delay table and
// its texts, the gamma field and the dithering rows. Portable.
#pragma once
#include <cstdint>
#include <string>

namespace options {

// Slide-show delays in milliseconds, one per slider position.
constexpr int kDelayPositions = 37;
extern const std::uint32_t kDelayTable[kDelayPositions];

// The slider position of the table entry nearest to delayMs; of two equally
// near entries the later one.
int NearestDelayPosition(std::uint32_t delayMs);
// "(No delay)", "(8 seconds)", "(1 minute)", ...; empty below one second.
std::string DelayText(std::uint32_t delayMs);
// A text made only of decimal digits that fits in 32 bits.
bool ParseUnsignedNumber(const std::string& text, std::uint32_t* value);

// Gamma as hundredths, as the spin holds it: 10 to 300 (0.10 to 3.00).
constexpr int kGammaMinPosition = 10;
constexpr int kGammaMaxPosition = 300;
int GammaPosition(double gamma);
// "1.20" with the user's decimal separator in place of the point.
std::string FormatGammaPosition(int position, const std::string& decimalSeparator);
// What the user typed, with the user's decimal separator; 0 when it holds no number.
double ParseGammaText(const std::string& text, const std::string& decimalSeparator);
// The sheet only takes gamma values from 0.10 to 3.00.
bool GammaAcceptable(double gamma);

// Rows of the dithering list on an 8-bit display (ordered, Floyd-Steinberg,
// two-pass Floyd-Steinberg) and the Dither8 values they stand for.
int Dither8Row(int dither8);
int Dither8FromRow(int row);

}  // namespace options
