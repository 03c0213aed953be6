#include "imagefile/requested_level.h"

int g_requestedPcdLevel = 5;
