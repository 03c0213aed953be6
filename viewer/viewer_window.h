// The viewer window ("LumivexaSE-View"): one photo at a time out of a list the
// browse window hands over, at a Photo CD resolution level or fitted to the
// screen, with a menu, a toolbar in a rebar, a status bar, full-screen and a
// slide show. Besides the photo on screen it decodes the next one in idle time
// (read-ahead) and keeps the one seen before (cache behind).
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "imagefile/image_reader.h"
#include "imaging/quarter_turns.h"
#include "viewer/image_view.h"
#include "viewer/slide_sequence.h"
#include "viewer/viewer_link.h"

namespace viewer {

constexpr char kViewerWindowClass[] = "LumivexaSE-View";
constexpr int kViewId = 100;
constexpr int kViewerToolbarId = 101;
constexpr int kViewerStatusId = 102;
constexpr UINT_PTR kSlideShowTimer = 1;

// Marks the viewer's own resizes for their length, so that they do not refit
// the zoom as a user's resize does (AutoFitWindow).
class OwnResize {
 public:
  explicit OwnResize(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~OwnResize() { flag_ = was_; }
  OwnResize(const OwnResize&) = delete;
  OwnResize& operator=(const OwnResize&) = delete;

 private:
  bool& flag_;
  bool was_;
};

class ViewerWindow : public ViewerLink {
 public:
  ViewerWindow() = default;
  ViewerWindow(const ViewerWindow&) = delete;
  ViewerWindow& operator=(const ViewerWindow&) = delete;
  ~ViewerWindow() override;

  // The hidden frame with its children; full-screen at once when the settings ask.
  // ownerBusy is held while the frame handles a message.
  bool Create(HWND owner, BusyCount& ownerBusy);

  // Stays the frame's handle after the window is gone, so that the owner can
  // tell which viewer reported its destruction.
  HWND Frame() const override { return frameHandle_; }
  bool HasIdleWork() const override;
  void DoIdleWork() override;
  bool TranslateAccelerators(MSG* msg) override;
  bool Open(const std::vector<ViewerPhoto>& photos, int start) override;
  void StartFullScreenSlideShow() override;
  bool Busy() const override { return commands_.Busy(); }

  // Shows photo index of the list; false outside the list or when the photo
  // cannot be opened (the user is told).
  bool ShowPhoto(int index);
  // Shows the photo at index or, stepping over photos that cannot be opened,
  // the first one next(index), next(next(index)) ... that can; one box names
  // the photos stepped over that were not named before.
  bool ShowPhotoSkipping(int index, const std::function<int(int)>& next);
  // Level 0 fits to the screen, 1..6 are BASE/16 .. BASE*64; false when the
  // level is not available for the photo.
  bool SetLevel(int level);
  void ToggleFullScreen();
  void ToggleSlideShow();
  // Hands changed display settings to the view and decodes the photo again.
  void ApplyDisplaySettings();

  int current() const { return current_; }
  int readAhead() const { return readAhead_; }
  int level() const { return level_; }
  // The level the photo on show is shown at: level() unless that would enlarge it.
  int ShownLevel() const;
  imaging::QuarterTurns rotation() const { return rotation_; }
  bool fullScreen() const { return fullScreen_; }
  bool slideShowRunning() const { return showRunning_; }
  std::size_t photoCount() const { return photos_.size(); }
  imagefile::ImageReader* image(int index) const;
  const ImageView& view() const { return view_; }
  HWND statusBar() const { return status_; }
  HWND toolbar() const { return toolbar_; }
  HMENU menu() const { return menu_; }

 private:
  struct Photo {
    ViewerPhoto entry;
    std::unique_ptr<imagefile::ImageReader> image;
    bool failed = false;  // its last decode failed; the read-ahead skips it
    bool reported = false;  // it could not be opened and the user has been told
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  static bool RegisterWindowClass();

  // Frame, children, layout, full-screen (viewer_window.cpp).
  bool CreateBars();
  void Layout();
  int BarsHeight() const;
  void FitFrameToPhoto();
  void EnterFullScreen();
  void LeaveFullScreen();
  void OnViewDoubleClick();
  void OnMouseWheel(int delta, bool control, bool shift);
  void OnKeyDown(WPARAM key);
  LRESULT RealisePalette(HWND changedBy);

  // Commands, menus, toolbar and status bar (viewer_commands.cpp).
  void OnCommand(int id);
  void UpdateMenuState(HMENU menu = nullptr);
  void UpdateTitleAndStatus();
  void OnMenuSelect(UINT item, UINT flags);
  void OnContextMenu(int x, int y);
  LRESULT OnNotify(NMHDR* header);
  // Stops the show and shows the photo at index, or the nearest one that
  // opens in the direction step (+1 or -1).
  void Navigate(int index, int step);
  HWND BoxOwner() const;
  void Rotate(imaging::QuarterTurns turn);
  void ChangeLevel(int level, int pressedButton);

  // Photos, levels, read-ahead and the cache (viewer_photos.cpp).
  bool PhotoShown() const;
  int SourceWidth() const;
  int SourceHeight() const;
  SIZE LargestViewArea() const;
  double FitToScreenZoom() const;
  // At "Fit to screen", fits the photo again to the area it may now take.
  bool RefitToScreen();
  bool ApplyLevel(int level);
  // Every zoom of the photo on show goes through here: a zoom that needs a
  // larger decode frees the photo first, so that the decode keeps the turn.
  void ShowAtZoom(double zoom);
  void KeepDecoding();
  void ChooseReadAhead();
  void BeginReadAhead(int index);
  void FreeDecoded(int index);
  void ApplyCacheRule();
  void OnDecodeEnded(bool complete);
  DisplayOptions SettingsDisplayOptions() const;

  // Slide show (slide_show.cpp).
  void StartSlideShow();
  void StopSlideShow();
  void PauseSlideShow(bool* wasRunning);
  void ResumeSlideShow(bool wasRunning);
  // About, Options and the commands on the photo on show (export, copy,
  // wallpaper, properties), run while the slide show is paused.
  void RunPhotoCommand(int id);
  // The photo on show to the printer, turned as shown (the slide show stops first).
  void PrintPhoto();
  void OnSlideShowTimer();
  void RestartSlideShowTimer();

  HWND owner_ = nullptr;
  BusyCount* ownerBusy_ = nullptr;
  // The frame's own commands: while one runs the frame neither closes nor
  // starts another.
  BusyCount commands_;
  HWND frame_ = nullptr;
  HWND frameHandle_ = nullptr;
  HWND toolbar_ = nullptr;
  HWND rebar_ = nullptr;
  HWND status_ = nullptr;
  HMENU menu_ = nullptr;
  HACCEL accelerators_ = nullptr;
  UINT wheelMessage_ = 0;
  ImageView view_;

  std::vector<Photo> photos_;
  int current_ = -1;
  int previous_ = -1;
  int readAhead_ = -1;
  int level_ = 0;
  int lastLevel_ = 0;
  imaging::QuarterTurns rotation_;  // how the photo on screen is turned
  imaging::QuarterTurns turned_;    // how far the shown bitmaps are turned (none after a fresh decode)
  int direction_ = kForward;
  int readAheadRows_ = 1;

  bool showRunning_ = false;
  bool showWaiting_ = false;  // held until the read-ahead photo is decoded
  int showMode_ = kForward;
  SlideSequence sequence_;

  bool fullScreen_ = false;
  bool placementSaved_ = false;
  bool cascaded_ = false;  // created one step from another viewer's frame
  WINDOWPLACEMENT placement_ = {};
  bool inOwnResize_ = false;
  // The zoom fits the frame after a user's resize (AutoFitWindow), not the level.
  bool zoomFitsWindow_ = false;
  DisplayOptions display_;
};

}  // namespace viewer
