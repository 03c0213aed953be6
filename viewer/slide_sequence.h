// The order a slide show walks a viewer's photo list in: forward, backward,
// random or random backward, with or without starting again after the end,
// and the photo worth decoding in advance. Portable.
#pragma once
#include <cstdint>
#include <vector>

namespace viewer {

enum SequenceMode : int {
  kForward = 0,
  kBackward = 1,
  kRandom = 2,
  kRandomBackward = 3,
};

class SlideSequence {
 public:
  // A list of count photos; forgets any random order.
  void Reset(int count);
  int count() const { return count_; }

  // A new random order that starts with current; seed picks the order.
  void BuildOrder(int current, std::uint32_t seed);
  // Builds one when none exists yet.
  void EnsureOrder(int current, std::uint32_t seed);
  bool HasOrder() const { return !order_.empty(); }
  int PhotoAt(int position) const { return order_[position]; }
  int PositionOf(int photo) const { return position_[photo]; }

  // The photo after current in the mode. At the end of the sequence it wraps
  // when asked, else stays on current; the random mode then builds a new order
  // that starts with current (seed) and goes on to its second photo.
  int Next(int mode, bool wrap, int current, std::uint32_t seed);
  // True when a show that does not wrap has reached its last photo (the random
  // backward mode never ends).
  bool AtEnd(int mode, int current) const;
  // The photo to decode in advance: the next one (wrapping only while a show
  // runs), or at the end of the sequence the one before, where a user turning
  // round would go.
  int ReadAheadTarget(int mode, bool showRunning, int current, std::uint32_t seed);

 private:
  int count_ = 0;
  std::vector<int> order_;     // position -> photo
  std::vector<int> position_;  // photo -> position
};

}  // namespace viewer
