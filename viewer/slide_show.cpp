// The viewer's slide show: timer 1 moves on through the photo list in the
// configured order once the photo on screen and the read-ahead photo are
// decoded, so that each photo shows for the whole delay.
#include "settings/settings.h"
#include "viewer/resolution_levels.h"
#include "viewer/viewer_window.h"

namespace viewer {

void ViewerWindow::ToggleSlideShow() {
  if (showRunning_)
    StopSlideShow();
  else if (photos_.size() > 1)
    StartSlideShow();
}

void ViewerWindow::StartSlideShow() {
  if (photos_.size() < 2 || current_ < 0) return;
  sequence_.EnsureOrder(current_, GetTickCount());
  if (g_settings.SSSequenceMode == kRandom && sequence_.AtEnd(kRandom, current_))
    sequence_.BuildOrder(current_, GetTickCount());
  if (!SetTimer(frame_, kSlideShowTimer, static_cast<UINT>(g_settings.SSDelayMS), nullptr)) return;
  showMode_ = g_settings.SSSequenceMode;
  showRunning_ = true;
  ChooseReadAhead();
  UpdateMenuState();
}

void ViewerWindow::StopSlideShow() {
  if (frame_) KillTimer(frame_, kSlideShowTimer);
  const bool wasRunning = showRunning_;
  showRunning_ = showWaiting_ = false;
  if (wasRunning) UpdateMenuState();
}

void ViewerWindow::PauseSlideShow(bool* wasRunning) {
  *wasRunning = showRunning_;
  StopSlideShow();
}

void ViewerWindow::ResumeSlideShow(bool wasRunning) {
  if (wasRunning && frame_) StartSlideShow();
}

void ViewerWindow::RestartSlideShowTimer() {
  SetTimer(frame_, kSlideShowTimer, static_cast<UINT>(g_settings.SSDelayMS), nullptr);
}

void ViewerWindow::OnSlideShowTimer() {
  if (!showRunning_) {
    KillTimer(frame_, kSlideShowTimer);
    return;
  }
  if (view_.Decoding()) return;  // the delay counts from the moment the photo is complete
  const imagefile::ImageReader* ahead = image(readAhead_);
  if (ahead && ahead->decoding() && !photos_[readAhead_].failed) {
    showWaiting_ = true;  // the read-ahead step runs this again once that photo is complete
    KillTimer(frame_, kSlideShowTimer);
    return;
  }
  showWaiting_ = false;
  showMode_ = g_settings.SSSequenceMode;
  const bool wrap = g_settings.SSWrap != 0;
  const int next = sequence_.Next(showMode_, wrap, current_, GetTickCount());
  // No tick may come while a photo that cannot be opened is being reported:
  // each would open another message box.
  KillTimer(frame_, kSlideShowTimer);
  if (!ShowPhotoSkipping(next, [&](int i) { return sequence_.Next(showMode_, wrap, i, GetTickCount()); })) {
    StopSlideShow();
  } else if (showRunning_ && !view_.Decoding()) {
    RestartSlideShowTimer();  // a decoding photo restarts it when complete
  }
}

void ViewerWindow::StartFullScreenSlideShow() {
  if (!fullScreen_) ToggleFullScreen();
  SetLevel(kFitLevel);
  StartSlideShow();
}

}  // namespace viewer
