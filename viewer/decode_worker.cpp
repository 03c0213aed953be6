// Decode pacing of the image view control. The worker thread decodes nothing:
// it posts one step message, then waits until the user-interface thread has run
// that step (the ready event) or the control stops it (the stop event). Each
// step adapts its row count so that it takes about 30 ms.
#include <algorithm>
#include <chrono>
#include <cmath>

#include "viewer/decode_pacing.h"
#include "viewer/image_view.h"
#include "viewer/view_geometry.h"

namespace viewer {

namespace {

// Above this many rows a step repaints the whole control instead of its rows.
constexpr int kRowsReportedSingly = 100;

}  // namespace

void ImageView::StartWorker(int priority) {
  if (worker_.active() || !window_) return;
  const imaging::DibImage* frame = image_ ? image_->frame(frameIndex_) : nullptr;
  if (frame && frame->width > 0) rowsPerStep_ = InitialRowsPerStep(frame->sourceWidth, frame->width);
  SetEvent(readyEvent_);
  worker_.start([this](long generation) { RunWorker(generation); }, priority);
}

void ImageView::StopWorker() {
  worker_.stop();
  MSG stale;
  while (window_ && PeekMessageA(&stale, window_, kDecodeStepMessage, kDecodeStepMessage, PM_REMOVE)) {
  }
}

void ImageView::RunWorker(long generation) {
  HANDLE events[2] = {readyEvent_, worker_.stopEvent()};
  while (!shownDone_.load() && !worker_.stopRequested()) {
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) break;
    if (worker_.stopRequested() || shownDone_.load()) break;
    PostMessageA(window_, kDecodeStepMessage, static_cast<WPARAM>(rowsPerStep_.load()), generation);
  }
}

void ImageView::OnStepMessage(WPARAM rows, LPARAM generation) {
  if (!worker_.isCurrent(static_cast<long>(generation))) return;  // posted by a worker that was stopped
  const auto start = std::chrono::steady_clock::now();
  DecodeStep(static_cast<int>(rows), true);
  const long elapsed = static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
  rowsPerStep_ = AdaptRowsPerStep(rowsPerStep_.load(), elapsed, kScreenStepMs);
  SetEvent(readyEvent_);
}

bool ImageView::BeginDecode() {
  imagefile::DecodeRequest request;
  if (explicitZoom_) {
    request.targetWidth = DisplayLength(image_->width(frameIndex_), zoom_);
    request.targetHeight = DisplayLength(image_->height(frameIndex_), zoom_);
  } else {
    request.targetWidth = requestedWidth_;
    request.targetHeight = requestedHeight_;
  }
  request.dither8 = options_.dither8;
  request.dither16 = options_.dither16;
  request.gamma = options_.gamma;
  request.useDdb = options_.useDdb;
  request.rollOffBaseLevels = options_.rollOffBaseLevels;
  request.bottomUp = options_.bottomUp;
  request.allPages = animate_ && PageCount() > 1;
  if (!image_->beginDecode(request)) return false;
  if (request.allPages) SetTimer(window_, kFrameTimer, kUnknownFrameDelay, nullptr);
  if (!explicitZoom_) zoom_ = DecodeScale();
  RecomputeScrollLimits();
  return true;
}

void ImageView::NoteDecodeEnded(bool complete) {
  image_->finish(false);
  shownDone_ = true;
  failed_ = !complete;
  UpdateCursor();
  PostMessageA(window_, kDecodeEndedMessage, complete ? 1 : 0, 0);
}

bool ImageView::DecodeStep(int rows, bool update) {
  if (!image_ || image_->isComplete(frameIndex_)) {
    shownDone_ = true;
    return true;
  }
  if (failed_) return false;
  if (!image_->decoding() && !BeginDecode()) {
    ShowImage(nullptr, kKeepOldImageData);
    failed_ = true;
    return false;
  }
  const bool shownFrame = image_->currentPage() == frameIndex_;
  imaging::PixelRect changed;
  if (!image_->step(rows, nullptr, &changed)) {
    NoteDecodeEnded(false);
    return false;
  }
  if (update && shownFrame) {
    if (rows > kRowsReportedSingly)
      InvalidateRect(window_, nullptr, FALSE);
    else if (!changed.empty())
      InvalidateDecoded(changed);
  }
  if (image_->progress() >= 10000) NoteDecodeEnded(true);
  if (advancePending_ && (image_->isComplete((frameIndex_ + 1) % PageCount()) || shownDone_))
    SendMessageA(window_, WM_TIMER, kFrameTimer, 0);
  if (update) UpdateWindow(window_);
  return true;
}

void ImageView::InvalidateDecoded(const imaging::PixelRect& decoded) {
  imaging::PixelRect shown = DecodedToDisplay(decoded, DisplayFactor(zoom_, DecodeScale()));
  RECT r = {shown.left - scrollX_, shown.top - scrollY_, shown.right - scrollX_, shown.bottom - scrollY_};
  InvalidateRect(window_, &r, FALSE);
}

}  // namespace viewer
