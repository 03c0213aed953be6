// Photos on the clipboard: several as a list of their files, one as a decoded
// bitmap together with its file.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "imagefile/image_reader.h"

namespace imagefile {

// Turns a photo is shown with, as the copy takes them.
constexpr int kCopyTurnLeft = 2;   // a quarter turn left
constexpr int kCopyTurnRight = 4;  // a quarter turn right
constexpr int kCopyTurnHalf = 8;

// Decodes the reader's page afresh (from its file when it has one) with a
// progress window, turns it by rotationFlags, crops it to crop (corners
// inclusive, in turned coordinates; null or empty for all of it) and puts it on
// the clipboard as CF_DIB, with the file as CF_HDROP. level is the highest
// Photo CD level to decode (-1: the program's). False when nothing could be
// copied; true also when the user cancelled.
bool CopyPhotoToClipboard(ImageReader* reader, int page, const RECT* crop, HINSTANCE instance, HWND owner,
                          int rotationFlags, int level = -1);

// One photo's image pack at a Photo CD level (3 = BASE; a pack that holds less
// gives its highest), turned by rotationFlags; the caller reports a failure.
bool CopyPhotoAtLevel(HINSTANCE instance, HWND owner, const std::string& path, int level, int rotationFlags);

// One photo's image pack at BASE resolution, as the browse window's Copy takes
// it; on failure the system's error text with the caption "Copy failed.".
bool CopyPhotoFile(HINSTANCE instance, HWND owner, const std::string& path, int rotationFlags);

// Several photos as a file list the shell copies (not moves) on paste. Packs
// inside a disc image are copied out first, with a progress window; true with
// nothing copied when the user cancels that.
bool CopyFileListToClipboard(HINSTANCE instance, HWND owner, const std::vector<std::string>& paths);

// Puts block on the clipboard this thread has open; the block is freed when the
// clipboard does not take it. False when block is null or was refused.
bool PutOnClipboard(UINT format, HGLOBAL block);

// Deletes the copies made out of disc images for the clipboard (at exit).
void RemoveClipboardCopies();

}  // namespace imagefile
