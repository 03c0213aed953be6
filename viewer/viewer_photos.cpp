// The viewer's photos: opening a list, showing one, resolution levels and
// fitting, rotation, the read-ahead decode in idle time and the cache of at
// most three decoded photos.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>

#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"
#include "viewer/decode_pacing.h"
#include "viewer/resolution_levels.h"
#include "viewer/viewer_window.h"

namespace viewer {

namespace {

long MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

}  // namespace

imagefile::ImageReader* ViewerWindow::image(int index) const {
  return index >= 0 && index < static_cast<int>(photos_.size()) ? photos_[index].image.get() : nullptr;
}

bool ViewerWindow::PhotoShown() const { return current_ >= 0 && view_.image(); }

int ViewerWindow::SourceWidth() const { return PhotoShown() ? view_.image()->width() : 0; }

int ViewerWindow::SourceHeight() const { return PhotoShown() ? view_.image()->height() : 0; }

int ViewerWindow::ShownLevel() const { return LevelInUse(level_, SourceWidth(), SourceHeight()); }

DisplayOptions ViewerWindow::SettingsDisplayOptions() const {
  DisplayOptions options;
  options.dither8 = g_settings.Dither8;
  options.dither16 = g_settings.Dither16;
  options.gamma = g_settings.GammaEnable ? g_settings.GammaFactor : 1.0;
  options.useDdb = g_settings.UseDDB != 0;
  options.rollOffBaseLevels = g_settings.SameToneAllLevels != 0;
  options.bottomUp = true;
  return options;
}

bool ViewerWindow::Open(const std::vector<ViewerPhoto>& photos, int start) {
  StopSlideShow();
  view_.ShowImage(nullptr, kKeepOldImageData);
  photos_.clear();
  current_ = previous_ = readAhead_ = -1;
  photos_.reserve(photos.size());
  for (const ViewerPhoto& entry : photos) {
    Photo photo;
    photo.entry = entry;
    photo.image = std::make_unique<imagefile::ImageReader>();
    photo.image->open(entry.path);
    photos_.push_back(std::move(photo));
  }
  sequence_.Reset(static_cast<int>(photos_.size()));
  return ShowPhoto(start);
}

bool ViewerWindow::ShowPhoto(int index) {
  if (index == current_ && PhotoShown()) return true;
  imagefile::ImageReader* shown = image(index);
  if (!shown) return false;
  if (shown->width() <= 0) {
    photos_[index].reported = true;
    CannotOpenImageBox(g_instance, BoxOwner(), photos_[index].entry.path, shown->error());
    return false;
  }
  // A turned photo goes back to its stored orientation: it is decoded afresh when seen again.
  if (current_ >= 0 && !turned_.none()) FreeDecoded(current_);
  previous_ = g_settings.CacheBehind ? current_ : -1;
  current_ = index;
  view_.ShowImage(shown, kKeepOldImageData | kNoRepaint);
  rotation_ = turned_ = imaging::kNoTurn;
  UpdateTitleAndStatus();

  // A level beyond the photo's own size shows it at the largest level it holds.
  if (!ApplyLevel(ShownLevel())) ShowAtZoom(1.0);
  KeepDecoding();
  UpdateMenuState();
  FitFrameToPhoto();
  if (!IsWindowVisible(frame_)) {
    OwnResize own(inOwnResize_);
    ShowWindow(frame_, SW_SHOW);
  }
  InvalidateRect(view_.hwnd(), nullptr, TRUE);
  UpdateWindow(view_.hwnd());

  ChooseReadAhead();
  if (showRunning_ && !view_.Decoding()) RestartSlideShowTimer();
  if (showRunning_ && !g_settings.SSWrap && sequence_.AtEnd(showMode_, current_)) StopSlideShow();
  ApplyCacheRule();
  return true;
}

HWND ViewerWindow::BoxOwner() const { return IsWindowVisible(frame_) ? frame_ : owner_; }

bool ViewerWindow::ShowPhotoSkipping(int index, const std::function<int(int)>& next) {
  std::vector<int> skipped;
  while (image(index) && index != current_ && image(index)->width() <= 0 &&
         std::find(skipped.begin(), skipped.end(), index) == skipped.end()) {
    skipped.push_back(index);
    index = next(index);
  }
  // Each photo that cannot be opened is named once; later passes step over it quietly.
  std::string text;
  for (int i : skipped) {
    Photo& photo = photos_[i];
    if (photo.reported) continue;
    photo.reported = true;
    text += (text.empty() ? "" : "\n\n") + CannotOpenImageText(g_instance, photo.entry.path, photo.image->error());
  }
  const bool landed = image(index) && std::find(skipped.begin(), skipped.end(), index) == skipped.end();
  if (!text.empty()) {
    if (landed && index != current_) text += "\n\n" + LoadStringText(g_instance, IDS_PHOTOS_SKIPPED);
    MessageBoxA(BoxOwner(), text.c_str(), kAppName, MB_OK | MB_ICONWARNING);
  }
  return landed && ShowPhoto(index);
}

SIZE ViewerWindow::LargestViewArea() const {
  if (fullScreen_) return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  // The view of a frame that fills the work area: less the frame's borders,
  // caption and menu, the bars, and the pixels the layout keeps round the view
  // (the frame fitting adds one for each bar besides).
  RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT frame = {0, 0, 0, 0};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, GetWindowLongA(frame_, GWL_EXSTYLE));
  return SIZE{(work.right - work.left) - (frame.right - frame.left) - 2,
              (work.bottom - work.top) - (frame.bottom - frame.top) - BarsHeight() - 4};
}

double ViewerWindow::FitToScreenZoom() const {
  const SIZE area = LargestViewArea();
  return FitZoom(area.cx, area.cy, SourceWidth(), SourceHeight());
}

bool ViewerWindow::ApplyLevel(int level) {
  if (!PhotoShown() || level < kFitLevel || level > kTopLevel) return false;
  zoomFitsWindow_ = false;
  double zoom = FitToScreenZoom();
  if (level != kFitLevel) {
    zoom = LevelZoom(level, SourceWidth(), SourceHeight());
    if (zoom > 1.0) return false;  // a level never enlarges beyond the photo's own size
    if (level != ShownLevel()) FreeDecoded(current_);
  }
  ShowAtZoom(zoom);
  return true;
}

void ViewerWindow::ShowAtZoom(double zoom) {
  if (!view_.ZoomRedecodes(zoom)) {
    view_.SetZoom(zoom);
    return;
  }
  // More pixels are needed: the photo is freed here, which gives a turned
  // frame its stored sizes back, decodes afresh at the new zoom and is turned
  // by rotation_ again when complete (OnDecodeEnded).
  FreeDecoded(current_);
  view_.SetZoom(zoom);
  KeepDecoding();
}

bool ViewerWindow::SetLevel(int level) {
  if (!ApplyLevel(level)) return false;
  if (level == kFitLevel && level_ != kFitLevel) lastLevel_ = level_;
  level_ = level;
  KeepDecoding();
  const POINT scrolled = view_.scroll();
  view_.ScrollBy(-scrolled.x, -scrolled.y);
  UpdateMenuState();
  UpdateTitleAndStatus();
  FitFrameToPhoto();
  // The read-ahead photo's size depends on the level.
  if (g_settings.SSReadAhead && readAhead_ >= 0) {
    FreeDecoded(readAhead_);
    ChooseReadAhead();
  }
  return true;
}

void ViewerWindow::KeepDecoding() {
  if (!PhotoShown() || view_.image()->isComplete()) return;
  if (!view_.Decoding()) view_.DecodeStep(1, false);
  view_.StartWorker(THREAD_PRIORITY_NORMAL);
}

void ViewerWindow::Rotate(imaging::QuarterTurns turn) {
  if (!PhotoShown()) return;
  imagefile::ImageReader* shown = view_.image();
  if (view_.Decoding()) {
    // The picture turns as a whole once it is complete (OnDecodeEnded); the
    // decode goes on at its pace meanwhile, so the window stays responsive.
    rotation_ += turn;
    return;
  }
  if (!shown->isComplete() || !shown->rotate(turn)) return;
  rotation_ += turn;
  turned_ += turn;
  if (!ApplyLevel(ShownLevel())) ShowAtZoom(view_.zoom());
  UpdateMenuState();
  FitFrameToPhoto();
  InvalidateRect(view_.hwnd(), nullptr, TRUE);
}

void ViewerWindow::FreeDecoded(int index) {
  imagefile::ImageReader* reader = image(index);
  if (!reader) return;
  if (index == current_) {
    if (turned_.swapsSides()) {
      // The frame keeps its sizes after the bitmaps go: give it the stored ones back.
      if (imaging::DibImage* frame = reader->frame()) {
        std::swap(frame->sourceWidth, frame->sourceHeight);
        std::swap(frame->width, frame->height);
      }
    }
    turned_ = imaging::kNoTurn;
    view_.FreeDecodedData();
  } else {
    reader->finish(true);
    reader->releaseAll();
  }
  photos_[index].failed = false;
}

void ViewerWindow::ApplyCacheRule() {
  for (int i = 0; i < static_cast<int>(photos_.size()); ++i)
    if (i != current_ && i != previous_ && i != readAhead_) FreeDecoded(i);
}

void ViewerWindow::ChooseReadAhead() {
  const int before = readAhead_;
  readAhead_ = -1;
  if (photos_.size() >= 2 && PhotoShown()) {
    const int mode = showRunning_ ? showMode_ : direction_;
    const int target = sequence_.ReadAheadTarget(mode, showRunning_, current_, GetTickCount());
    if (target >= 0 && target != current_) readAhead_ = target;
  }
  // The photo read ahead so far keeps its bitmaps only while it is still
  // wanted, so that at most three photos hold them.
  if (before >= 0 && before != readAhead_ && before != current_ && before != previous_) FreeDecoded(before);
  if (readAhead_ < 0) return;
  imagefile::ImageReader* ahead = image(readAhead_);
  if (g_settings.SSReadAhead && view_.image()->isComplete() && !ahead->isComplete() && !ahead->decoding())
    BeginReadAhead(readAhead_);
}

void ViewerWindow::BeginReadAhead(int index) {
  Photo& photo = photos_[index];
  imagefile::DecodeRequest request;
  request.dither8 = display_.dither8;
  request.dither16 = display_.dither16;
  request.gamma = display_.gamma;
  request.useDdb = display_.useDdb;
  request.rollOffBaseLevels = display_.rollOffBaseLevels;
  if (level_ != kFitLevel) {
    request.targetWidth = request.targetHeight = static_cast<int>(LevelScale(level_) * kBaseLongSide);
  } else {
    const SIZE area = LargestViewArea();  // as large as a fitted photo can be
    request.targetWidth = area.cx;
    request.targetHeight = area.cy;
  }
  photo.image->finish(true);
  photo.image->releaseAll();
  if (!photo.image->beginDecode(request)) {
    photo.image->finish(false);
    photo.failed = true;
    return;
  }
  const imaging::DibImage* frame = photo.image->frame();
  readAheadRows_ = InitialRowsPerStep(photo.image->width(), frame ? frame->width : 0);
}

bool ViewerWindow::HasIdleWork() const {
  if (!frame_ || !IsWindowVisible(frame_) || readAhead_ < 0 || readAhead_ == current_) return false;
  const imagefile::ImageReader* ahead = image(readAhead_);
  return ahead && ahead->decoding() && !photos_[readAhead_].failed && !view_.Decoding();
}

void ViewerWindow::DoIdleWork() {
  if (!HasIdleWork()) return;
  Photo& photo = photos_[readAhead_];
  const auto start = std::chrono::steady_clock::now();
  const bool stepped = photo.image->step(readAheadRows_) != 0;
  readAheadRows_ = AdaptRowsPerStep(readAheadRows_, MillisecondsSince(start), kReadAheadStepMs);
  if (!stepped) {
    photo.image->finish(false);
    photo.failed = true;
  } else if (photo.image->progress() >= 10000) {
    photo.image->finish(false);
  } else {
    return;
  }
  if (showWaiting_) OnSlideShowTimer();  // the show was held for this photo
}

void ViewerWindow::OnDecodeEnded(bool complete) {
  if (!PhotoShown()) return;
  imagefile::ImageReader* shown = view_.image();
  if (!complete) {
    if (!shown->decoding() && !shown->isComplete()) photos_[current_].failed = true;
  } else if (turned_ != rotation_ && shown->isComplete() && shown->rotate(rotation_ - turned_)) {
    // A fresh decode of a turned photo, or one turned while it decoded, arrives
    // upright: turn it by what it lacks.
    turned_ = rotation_;
    if (zoomFitsWindow_) {
      Layout();  // fitted to the frame the user sized, turned
    } else {
      if (!ApplyLevel(ShownLevel())) ShowAtZoom(view_.zoom());
      FitFrameToPhoto();
    }
    InvalidateRect(view_.hwnd(), nullptr, TRUE);
  }
  UpdateTitleAndStatus();  // the decode may have gone around damage
  if (showRunning_) RestartSlideShowTimer();
  if (g_settings.SSReadAhead && readAhead_ >= 0) {
    imagefile::ImageReader* ahead = image(readAhead_);
    if (!ahead->isComplete() && !ahead->decoding()) BeginReadAhead(readAhead_);
  }
  UpdateMenuState();
}

void ViewerWindow::ApplyDisplaySettings() {
  const DisplayOptions now = SettingsDisplayOptions();
  if (now.dither8 == display_.dither8 && now.dither16 == display_.dither16 && now.gamma == display_.gamma &&
      now.useDdb == display_.useDdb && now.rollOffBaseLevels == display_.rollOffBaseLevels)
    return;
  display_ = now;
  view_.SetDisplayOptions(display_);
  if (!PhotoShown()) return;
  // Every decoded photo was made with the old settings.
  for (int i = 0; i < static_cast<int>(photos_.size()); ++i)
    if (i != current_) FreeDecoded(i);
  FreeDecoded(current_);
  KeepDecoding();
}

}  // namespace viewer
