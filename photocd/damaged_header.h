// A pack whose header sector is lost (it does not read, or reads as zeros,
// or its version word is zeroed) still holds its picture sectors: the base
// levels lie at fixed places and the 16BASE tables can be found by the sync
// of their first row. Such a pack opens unturned, with the levels found.
#pragma once
#include "image_pack.h"

// Sets the levels, the 16BASE table sector and an upright orientation from
// what the picture sectors show; 3000 when the file does not hold the base
// levels of a pack.
PcdStatus PcdOpenWithDamagedHeader(ImagePack& pack);
