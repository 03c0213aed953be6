// One photo of the open disc, and the pointer lists the browse window keeps.
// Portable: the thumbnail block travels as an opaque handle.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/packed_dib.h"
#include "photocd/pcd_block.h"

namespace browse {

// What the print layout reads about a photo besides its number.
struct PhotoInfo {
  std::uint64_t date = 0;          // local file time (100 ns since 1601)
  std::uint16_t nominalWidth = 0;  // pixels, as the photo is shown
  std::uint16_t nominalHeight = 0;
};

// Nominal size in pixels of a photo with the given overview orientation (0..7):
// photos stored turned by a quarter are listed as portrait.
void NominalPhotoSize(int orientation, std::uint16_t& width, std::uint16_t& height);

// A 1970-based time in seconds as a local file time, given the local file time
// of 1970-01-01 00:00.
std::uint64_t PhotoDate(std::uint64_t localEpoch, std::uint32_t seconds);

struct PhotoItem {
  PhotoItem() = default;
  PhotoItem(const PhotoItem&) = delete;
  PhotoItem& operator=(const PhotoItem&) = delete;
  ~PhotoItem();

  int index = -1;         // photo number - 1
  std::string path;       // the photo's image pack
  std::string name;       // a loose pack's file name, shown beside its number; empty on a disc
  // The decoded thumbnail (custom draw). Published by the loader thread in one
  // store once complete; null until then.
  std::atomic<imaging::PackedDib*> thumbnail{nullptr};
  std::atomic<int> imageIndex{0};  // image-list index; 0 is the placeholder
  PcdBlock block = nullptr;  // locked while the item lives: the thumbnail points into it
  PhotoInfo info;
};

// An ordered list of pointers that may own its elements.
template <typename T>
class PointerList {
 public:
  explicit PointerList(bool ownsElements) : owns_(ownsElements) { items_.reserve(kInitialRoom); }
  PointerList(const PointerList&) = delete;
  PointerList& operator=(const PointerList&) = delete;
  ~PointerList() { Clear(); }

  // Null pointers are ignored.
  void Append(T* item) {
    if (!item) return;
    if (items_.size() == items_.capacity()) items_.reserve(items_.capacity() + kGrowth);
    items_.push_back(item);
  }
  // Removes the element at position i without deleting it, keeping the order.
  T* Take(std::size_t i) {
    T* item = items_[i];
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
    return item;
  }
  // Empties the list (deleting the elements when it owns them) and goes back to
  // its first size.
  void Clear() {
    if (owns_)
      for (T* item : items_) delete item;
    std::vector<T*>().swap(items_);
    items_.reserve(kInitialRoom);
  }
  std::size_t Count() const { return items_.size(); }
  T* operator[](std::size_t i) const { return items_[i]; }
  T* Last() const { return items_.empty() ? nullptr : items_.back(); }

 private:
  static constexpr std::size_t kInitialRoom = 32;
  static constexpr std::size_t kGrowth = 64;
  bool owns_;
  std::vector<T*> items_;
};

using PhotoList = PointerList<PhotoItem>;

}  // namespace browse
