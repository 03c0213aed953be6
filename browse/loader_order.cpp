#include "browse/loader_order.h"

namespace browse {

LoaderOrder::LoaderOrder(int photoCount)
    : count_(photoCount > 0 ? photoCount : 0), visited_(count_, false) {}

int LoaderOrder::Step(int wanted) {
  if (Finished()) return -1;
  current_ = (current_ + 1) % count_;
  // A new wanted position means the user scrolled: go there at once. Photo
  // indices equal list positions, so the search for the photo is a range check.
  if (wanted != lastWanted_ && wanted >= 0 && wanted < count_) current_ = wanted;
  lastWanted_ = wanted;
  if (visited_[current_]) return -1;
  visited_[current_] = true;
  ++visitedCount_;
  return current_;
}

int LoaderPositionFromNearestItem(int foundIndex) {
  return foundIndex > 0 ? foundIndex - 1 : 0;
}

}  // namespace browse
