// How far a picture is turned from the way it was decoded: a count of quarter
// turns clockwise as seen on screen, always 0 to 3. Every window, command and
// the image reader hold a rotation in this one form; stored records and the
// Photo CD rotation code are converted where they are read or written.
#pragma once

namespace imaging {

class QuarterTurns {
 public:
  constexpr QuarterTurns() = default;
  // Any count, negative for counter-clockwise, brought into 0 to 3.
  static constexpr QuarterTurns Clockwise(int quarters) { return QuarterTurns(quarters); }

  constexpr int clockwise() const { return clockwise_; }
  constexpr int degrees() const { return 90 * clockwise_; }  // clockwise: 0, 90, 180 or 270
  constexpr bool none() const { return clockwise_ == 0; }
  // A quarter turn either way exchanges width and height.
  constexpr bool swapsSides() const { return (clockwise_ & 1) != 0; }

  constexpr QuarterTurns operator+(QuarterTurns other) const { return QuarterTurns(clockwise_ + other.clockwise_); }
  constexpr QuarterTurns operator-(QuarterTurns other) const { return QuarterTurns(clockwise_ - other.clockwise_); }
  QuarterTurns& operator+=(QuarterTurns other) { return *this = *this + other; }
  constexpr bool operator==(QuarterTurns other) const { return clockwise_ == other.clockwise_; }
  constexpr bool operator!=(QuarterTurns other) const { return clockwise_ != other.clockwise_; }

 private:
  constexpr explicit QuarterTurns(int quarters) : clockwise_(((quarters % 4) + 4) % 4) {}
  int clockwise_ = 0;
};

constexpr QuarterTurns kNoTurn = QuarterTurns::Clockwise(0);
constexpr QuarterTurns kTurnRight = QuarterTurns::Clockwise(1);
constexpr QuarterTurns kHalfTurn = QuarterTurns::Clockwise(2);
constexpr QuarterTurns kTurnLeft = QuarterTurns::Clockwise(-1);

}  // namespace imaging
