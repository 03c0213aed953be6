// The integer multiply-divide that page and wallpaper sizes are computed with.
#pragma once
#include <cstdint>
#include <limits>

// a × b ÷ c with a 64-bit product, rounded to the nearest integer (halves away
// from zero), as the platform's MulDiv does. Like it, gives -1 when c is 0 or
// the result does not fit an int.
inline int MulDivRounded(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  bool negative = (product < 0) != (c < 0);
  std::int64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
  std::int64_t magnitude = product < 0 ? -product : product;
  std::int64_t quotient = (magnitude + divisor / 2) / divisor;
  if (negative) quotient = -quotient;
  if (quotient > std::numeric_limits<int>::max() || quotient < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(quotient);
}
