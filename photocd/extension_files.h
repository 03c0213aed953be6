// Files of image pack extensions are opened through one process-wide table of
// 256 entries, so that a damaged disc cannot make the toolkit hold open
// files without bound.
#pragma once
#include "pcd_file.h"

constexpr int kPcdMaxExtensionFiles = 256;

// PcdFileOpen, or 3010 when every entry of the table is in use.
PcdStatus PcdOpenExtensionFile(const char* path, PcdFile*& file);
// Closes the file and frees its entry.
PcdStatus PcdCloseExtensionFile(PcdFile* file);
