// Setting a photo as the desktop wallpaper and putting the earlier wallpaper
// back. The photo is decoded at screen size, turned and cut as it is shown,
// written as "Quorvant Wallpaper.bmp" in the Windows folder and registered.
#pragma once
#include <windows.h>

#include <string>

#include "desktop/wallpaper_request.h"

// The operation itself: with a photo path, sets it (tiled or not, turned as
// it is shown, the gamma to decode with, an optional selection in the photo's
// shown pixels); without one, removes the wallpaper, tiling it again when tile
// is set. Tells the user what failed under caption and returns 1 on success,
// 0 on failure.
int SetWallpaper(HINSTANCE instance, HWND owner, const char* caption, const char* photoPath, bool tile,
                 imaging::QuarterTurns turn, double gamma, const desktop::Selection* selection);

// The Set wallpaper and Remove wallpaper commands of the browse window and the
// viewers: caption "Lumivexa SE", the display gamma of the settings.
bool SetPhotoAsWallpaper(HINSTANCE instance, HWND owner, const std::string& photoPath, bool tile,
                         imaging::QuarterTurns turn, const desktop::Selection* selection = nullptr);
bool RemoveWallpaper(HINSTANCE instance, HWND owner);

// Full path of the wallpaper bitmap the program writes.
std::string WallpaperFilePath();
