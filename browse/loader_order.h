// The order in which the thumbnail loader visits photos: forwards from the first
// visible photo, jumping there again whenever the user scrolls, wrapping around at
// the end and visiting every photo exactly once. Portable; the loader thread owns one.
#pragma once
#include <vector>

namespace browse {

class LoaderOrder {
 public:
  explicit LoaderOrder(int photoCount);

  // One step, taken each time the loader is woken. wanted is the photo the user
  // looks at (the loader position). Returns the photo to make now, or -1 when
  // this step lands on a photo already visited.
  int Step(int wanted);
  // True once every photo has been visited (at once for an empty disc).
  bool Finished() const { return visitedCount_ >= count_; }
  int VisitedCount() const { return visitedCount_; }

 private:
  int count_;
  std::vector<bool> visited_;
  int visitedCount_ = 0;
  int current_ = -1;
  int lastWanted_ = 0;
};

// The loader position in icon view from the item found nearest to the list's
// top-left corner going right: that index minus one, or 0 when the search gave 0
// or nothing (-1).
int LoaderPositionFromNearestItem(int foundIndex);

}  // namespace browse
