#include "viewer/slide_sequence.h"

namespace viewer {

namespace {

// A small generator of 15-bit draws (0..32767).
class Draws {
 public:
  explicit Draws(std::uint32_t seed) : state_(seed) {}
  int Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
  }

 private:
  std::uint32_t state_;
};

}  // namespace

void SlideSequence::Reset(int count) {
  count_ = count > 0 ? count : 0;
  order_.clear();
  position_.clear();
}

void SlideSequence::BuildOrder(int current, std::uint32_t seed) {
  if (count_ == 0 || current < 0 || current >= count_) return;
  order_.assign(count_, -1);
  position_.assign(count_, 0);
  order_[0] = current;
  position_[current] = 0;
  Draws draws(seed);
  for (int photo = 0; photo < count_; ++photo) {
    if (photo == current) continue;
    // Two 15-bit draws make one 16-bit number; taken places are probed forward.
    int first = draws.Next();
    int r = (first * 32768) % 65536 + draws.Next();
    int j = r % count_;
    while (order_[j] != -1) j = (j + 1) % count_;
    order_[j] = photo;
    position_[photo] = j;
  }
}

void SlideSequence::EnsureOrder(int current, std::uint32_t seed) {
  if (order_.empty()) BuildOrder(current, seed);
}

int SlideSequence::Next(int mode, bool wrap, int current, std::uint32_t seed) {
  const int last = count_ - 1;
  switch (mode) {
    case kForward:
      if (current < last) return current + 1;
      return wrap ? 0 : last;
    case kBackward:
      if (current > 0) return current - 1;
      return wrap ? last : 0;
    case kRandom:
    case kRandomBackward: {
      if (count_ < 2) return current;
      EnsureOrder(current, seed);
      const int at = position_[current];
      if (mode == kRandom) {
        if (at < last) return order_[at + 1];
        if (!wrap) return current;
        BuildOrder(current, seed);
        return order_[1];
      }
      if (at > 0) return order_[at - 1];
      return wrap ? order_[last] : current;
    }
  }
  return current;
}

bool SlideSequence::AtEnd(int mode, int current) const {
  switch (mode) {
    case kForward:
      return current == count_ - 1;
    case kBackward:
      return current == 0;
    case kRandom:
      return !order_.empty() && position_[current] == count_ - 1;
  }
  return false;
}

int SlideSequence::ReadAheadTarget(int mode, bool showRunning, int current, std::uint32_t seed) {
  if (count_ < 2) return -1;
  int target = Next(mode, showRunning, current, seed);
  if (target != current) return target;
  switch (mode) {
    case kForward:
      return current == count_ - 1 ? current - 1 : target;
    case kBackward:
      return current == 0 ? 1 : target;
    case kRandom:
      return position_[current] == count_ - 1 ? order_[count_ - 2] : target;
    case kRandomBackward:
      return position_[current] == 0 ? order_[1] : target;
  }
  return target;
}

}  // namespace viewer
