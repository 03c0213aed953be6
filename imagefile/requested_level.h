// The Photo CD resolution level that image loads ask for.
#pragma once

// Highest ResolutionLevel (1 = BASE/16 ... 6 = BASE*64) an image load decodes; the
// reader takes the highest level a pack holds at or below it. Start-up raises it
// from 5 to 6; copy, export and viewer operations change it for one operation and
// put it back.
extern int g_requestedPcdLevel;
