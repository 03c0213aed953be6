// Finding an image pack and the folder of its extension (the one holding
// INFO.IPE), from either path.
#pragma once
#include "pcd_path.h"
#include "pcd_status.h"

// imagePath names an image pack (PHOTO_CD\IMAGES\IMG0001.PCD, optionally with
// ";1") or an extension folder (PHOTO_CD\IPE\IMG0001). Fills imagePackOut and
// extensionDirOut (kPcdMaxPath characters each) with the normalised paths
// found; each is empty when not found. 3001 for missing arguments or a path
// too long to handle.
PcdStatus PcdResolveExtension(const char* imagePath, char* imagePackOut, char* extensionDirOut);
