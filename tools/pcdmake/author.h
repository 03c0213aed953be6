// Turns a DiscJob into a Photo CD file tree.
#pragma once
#include <iosfwd>
#include <string>

#include "options.h"

namespace pcdmake {

// The picture as it should be seen (display orientation, full top-level
// size) and the rotation code it is stored with.
struct SourcePicture {
  RgbImage display;
  int rotation = 0;
};

// Loads or renders the photo's source; throws std::runtime_error with a
// message naming the source when it cannot be used.
SourcePicture LoadSource(const PhotoJob& photo);

// The landscape picture stored in the pack for a display picture.
RgbImage StoredPicture(const SourcePicture& source);

// Writes the whole tree; throws std::runtime_error on failure. Progress lines
// go to log when job.verbose is set.
void AuthorDisc(const DiscJob& job, std::ostream& log);

}  // namespace pcdmake
