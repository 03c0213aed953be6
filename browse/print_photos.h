// What printing needs to know of the browse window's photos.
#pragma once
#include <vector>

#include "browse/photo_item.h"
#include "print/print_layout.h"

namespace browse {

// Path, number, nominal size, date and a copy of the thumbnail of each photo,
// in list order. The copies keep the preview safe from the disc closing.
std::vector<print::PrintPhoto> PrintPhotosOf(const PhotoList& photos);

}  // namespace browse
