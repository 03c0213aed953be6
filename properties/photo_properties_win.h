// The "Photo properties" sheet: what an image pack records about one photo,
// on an Image page and a Laboratory page. It changes nothing.
#pragma once
#include <windows.h>

#include <string>

namespace imaging {
class PackedDib;
}

struct PropertiesPhoto {
  int index = 0;                                  // in the list: photo number - 1
  std::string path;                               // the image pack
  const imaging::PackedDib* thumbnail = nullptr;  // shown on the Image page when there is one
  std::string name;                               // a loose pack's file name; empty on a disc
};

// Runs the sheet modally over parent, starting on the page shown last in this
// process. False without a photo, or when the sheet could not be shown.
bool ShowPhotoProperties(HINSTANCE instance, HWND parent, const PropertiesPhoto* photo);
