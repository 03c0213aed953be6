// Print (32771) and Print all (32798) of the browse window.
#include "browse/print_photos.h"

#include "ui/shell_state_win.h"
#include "browse/browse_window.h"
#include "print/print_win.h"

namespace browse {

std::vector<print::PrintPhoto> PrintPhotosOf(const PhotoList& photos) {
  std::vector<print::PrintPhoto> result;
  result.reserve(photos.Count());
  for (std::size_t i = 0; i < photos.Count(); ++i) {
    const PhotoItem& item = *photos[i];
    print::PrintPhoto photo;
    photo.path = item.path;
    photo.number = item.index;
    photo.width = item.info.nominalWidth;
    photo.height = item.info.nominalHeight;
    photo.date = item.info.date;
    photo.thumbnail = print::ThumbnailCopy(item.thumbnail.load());
    result.push_back(std::move(photo));
  }
  return result;
}

}  // namespace browse

void BrowseWindow::PrintPhotos(bool all) {
  browse::PhotoList selection(false);
  if (!all) CollectSelection(selection);
  const browse::PhotoList& photos = all ? photos_ : selection;
  if (photos.Count() == 0) return;
  print::PrintPhotos(g_instance, frame_, browse::PrintPhotosOf(photos));
}
