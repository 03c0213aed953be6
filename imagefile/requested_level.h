// The Photo CD resolution level that image loads ask for.
#pragma once

// Highest ResolutionLevel (1 = BASE/16 ... 6 = BASE*64) an image load decodes when
// its decode request names none (DecodeRequest::pcdLevel); the reader takes the
// highest level a pack holds at or below it. Start-up raises it from 5 to 6 and
// the converter sets it from its options; the program's commands leave it alone
// and put their level in their requests, so no window changes another's decode.
extern int g_requestedPcdLevel;

// Sets the requested level for a scope and puts the earlier one back (tests and
// tools that decode at one level throughout).
class RequestedLevelScope {
 public:
  explicit RequestedLevelScope(int level) : saved_(g_requestedPcdLevel) { g_requestedPcdLevel = level; }
  ~RequestedLevelScope() { g_requestedPcdLevel = saved_; }
  RequestedLevelScope(const RequestedLevelScope&) = delete;
  RequestedLevelScope& operator=(const RequestedLevelScope&) = delete;

 private:
  int saved_;
};
