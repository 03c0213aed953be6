// The Photo CD resolution level that image loads ask for.
#pragma once

// Highest ResolutionLevel (1 = BASE/16 ... 6 = BASE*64) an image load decodes; the
// reader takes the highest level a pack holds at or below it. Start-up raises it
// from 5 to 6; copy, export and viewer operations change it for one operation and
// put it back.
extern int g_requestedPcdLevel;

// Sets the requested level for one operation and puts the earlier one back,
// whichever way the operation ends.
class RequestedLevelScope {
 public:
  explicit RequestedLevelScope(int level) : saved_(g_requestedPcdLevel) { g_requestedPcdLevel = level; }
  ~RequestedLevelScope() { g_requestedPcdLevel = saved_; }
  RequestedLevelScope(const RequestedLevelScope&) = delete;
  RequestedLevelScope& operator=(const RequestedLevelScope&) = delete;

 private:
  int saved_;
};
