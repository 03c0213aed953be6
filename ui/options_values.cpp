#include "ui/options_values.h"

#include <cmath>
#include <cstdio>

#include "ui/path_utils.h"

namespace options {

const std::uint32_t kDelayTable[kDelayPositions] = {
    0,       30,      100,      500,      1000,     2000,     3000,    4000,    5000,     6000,
    7000,    8000,    9000,     10000,    15000,    20000,    30000,   45000,   60000,    120000,
    180000,  240000,  300000,   360000,   420000,   480000,   540000,  600000,  1200000,  1800000,
    2400000, 3600000, 7200000,  14400000, 28800000, 86400000, 864000000};

namespace {

std::int64_t Distance(std::uint32_t a, std::uint32_t b) {
  return std::llabs(static_cast<std::int64_t>(a) - static_cast<std::int64_t>(b));
}

}  // namespace

int NearestDelayPosition(std::uint32_t delayMs) {
  for (int i = 0; i + 1 < kDelayPositions; ++i)
    if (Distance(kDelayTable[i], delayMs) < Distance(kDelayTable[i + 1], delayMs)) return i;
  return kDelayPositions - 1;
}

std::string DelayText(std::uint32_t delayMs) {
  if (delayMs == 0) return "(No delay)";
  if (delayMs < 1000) return std::string();
  struct Unit {
    std::uint32_t size;
    const char* name;
  };
  // From the largest unit down; each rounds to the nearest whole one.
  static const Unit kUnits[] = {{86400000, "day"}, {3600000, "hour"}, {60000, "minute"}, {1000, "second"}};
  for (const Unit& unit : kUnits) {
    if (delayMs < unit.size) continue;
    const std::uint64_t n = (static_cast<std::uint64_t>(delayMs) + unit.size / 2) / unit.size;
    char text[48];
    std::snprintf(text, sizeof text, "(%llu %s%s)", static_cast<unsigned long long>(n), unit.name,
                  n != 1 ? "s" : "");
    return text;
  }
  return std::string();
}

bool ParseUnsignedNumber(const std::string& text, std::uint32_t* value) {
  if (text.empty()) return false;
  std::uint64_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + static_cast<unsigned>(c - '0');
    if (n > 0xFFFFFFFFu) return false;
  }
  *value = static_cast<std::uint32_t>(n);
  return true;
}

int GammaPosition(double gamma) {
  // Also keeps a stored value that is no number at all inside the spin's range.
  if (!(gamma * 100 >= kGammaMinPosition)) return kGammaMinPosition;
  if (gamma * 100 >= kGammaMaxPosition) return kGammaMaxPosition;
  // The small margin keeps a stored 0.29 from showing as 0.28 through rounding.
  return static_cast<int>(std::trunc(gamma * 100 + 1e-9));
}

std::string FormatGammaPosition(int position, const std::string& decimalSeparator) {
  char text[32];
  std::snprintf(text, sizeof text, "%d%s%02d", position / 100, decimalSeparator.c_str(), position % 100);
  return text;
}

double ParseGammaText(const std::string& text, const std::string& decimalSeparator) {
  return ParseLocaleNumber(text, decimalSeparator);
}

bool GammaAcceptable(double gamma) { return gamma >= 0.1 && gamma <= 3.0; }

int Dither8Row(int dither8) { return dither8 == 2 ? 1 : dither8 == 4 ? 2 : 0; }
int Dither8FromRow(int row) { return row == 1 ? 2 : row == 2 ? 4 : 1; }

}  // namespace options
