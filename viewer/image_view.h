// The image view control ("ImageViewWndClass"): a child window that shows the
// current frame of one image reader at a zoom, lets the user drag a picture
// larger than the control, and drives its incremental decode. A small worker
// thread paces the decode: it posts one step message at a time and waits until
// that step ran, so the user-interface thread decodes in bands and stays
// responsive.
#pragma once
#include <windows.h>

#include <atomic>

#include "imagefile/image_reader.h"
#include "ui/worker_thread_win.h"

namespace viewer {

constexpr char kImageViewClass[] = "ImageViewWndClass";

// The step message (wParam = rows), and the notification forwarded to the
// notify window when a decode ends (wParam 1 = complete, 0 = failed).
constexpr UINT kDecodeStepMessage = WM_USER;
constexpr UINT kDecodeEndedMessage = WM_USER + 1;

// ShowImage flags.
enum ShowImageFlags : unsigned {
  kKeepOldImageData = 1,  // the old image keeps its bitmaps (and a decode in progress)
  kNoRepaint = 2,         // neither erase nor repaint now
  kOwnImage = 4,          // the control deletes the image when it is replaced
  kFreshDecode = 8,       // free the new image's bitmaps first
};

// What the control asks of the reader when it begins a decode.
struct DisplayOptions {
  int dither8 = 1;
  int dither16 = 1;
  double gamma = 1.0;
  bool useDdb = false;
  bool rollOffBaseLevels = false;  // the same tone at every Photo CD level
  bool bottomUp = false;
};

class ImageView {
 public:
  ImageView() = default;
  ImageView(const ImageView&) = delete;
  ImageView& operator=(const ImageView&) = delete;
  ~ImageView();

  // A visible child of parent at (0, 0) with the parent's client size.
  bool Create(HINSTANCE instance, HWND parent, int id);
  HWND hwnd() const { return window_; }

  // Stops the decode worker and shows image (or nothing); see ShowImageFlags.
  void ShowImage(imagefile::ImageReader* image, unsigned flags);
  imagefile::ImageReader* image() const { return image_; }

  // Shows the picture at zoom (display pixels per source pixel), keeping the
  // control's centre on the same point. It never decodes by itself: the owner
  // frees the picture (FreeDecodedData) and decodes it again when needed.
  void SetZoom(double zoom);
  // Whether the shown image needs a new decode for zoom (more pixels needed).
  bool ZoomRedecodes(double zoom) const;
  double zoom() const { return zoom_; }
  // Decoded size over source size of the shown frame (1 without a picture).
  double DecodeScale() const;
  // Size asked of the reader while no zoom was handed in (0, 0 = source size).
  void SetRequestedSize(int width, int height);

  // Moves the view by up to (dx, dy) display pixels within the limits; the
  // distance actually moved.
  POINT ScrollBy(int dx, int dy);
  POINT scroll() const { return POINT{scrollX_, scrollY_}; }
  void Place(int x, int y, int width, int height);
  // Picture-sized (at most the area) and centred in area of the parent's client.
  void CentreIn(const RECT& area);
  // Displayed size of the picture at the current zoom.
  SIZE DisplaySize() const;

  void SetDisplayOptions(const DisplayOptions& options) { options_ = options; }
  void SetNotify(HWND window, UINT message);
  // In full-screen the mouse pointer hides while no button or Ctrl is down.
  void SetFullScreen(bool fullScreen);

  // Drops the shown picture's bitmaps (and any decode in progress) so that the
  // next step decodes it afresh with the current zoom and options.
  void FreeDecodedData();

  // One decode step of rows rows on the shown image; false when decoding failed.
  // update repaints the rows that arrived.
  bool DecodeStep(int rows, bool update);
  void StartWorker(int priority = THREAD_PRIORITY_NORMAL);
  // Stops the worker within 3000 ms (a beep when it does not end in time) and
  // drops any step message it posted.
  void StopWorker();
  bool WorkerRunning() const { return worker_.active(); }
  int rowsPerStep() const { return rowsPerStep_.load(); }
  // True while the shown picture is being decoded.
  bool Decoding() const;

 private:
  // Multi-frame pictures: the timer that shows the next frame, and the delay
  // of a frame (in 1/100 s) when the picture does not say.
  static constexpr UINT_PTR kFrameTimer = 1;
  static constexpr UINT kUnknownFrameDelay = 10;
  static constexpr DWORD kStopWaitMs = 3000;  // then a beep, and the wait goes on

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  static bool RegisterWindowClass(HINSTANCE instance);

  void Paint();
  void PaintFrame(HDC dc, const RECT& paint);
  void RecomputeScrollLimits();
  void ReleaseImage(imagefile::ImageReader* old, unsigned flags);
  void UpdateCursor();
  void OnMouseMove(WPARAM keys, int x, int y);
  void OnLeftButtonDown(WPARAM keys, int x, int y);
  void OnLeftButtonUp();
  void NotifyParent(UINT code);
  void AdvanceFrame();
  int PageCount() const;

  // Decode pacing (decode_worker.cpp).
  bool BeginDecode();
  void OnStepMessage(WPARAM rows, LPARAM generation);
  void InvalidateDecoded(const imaging::PixelRect& decoded);
  void NoteDecodeEnded(bool complete);
  void RunWorker(long generation);

  HWND parent_ = nullptr;
  HWND window_ = nullptr;
  imagefile::ImageReader* image_ = nullptr;
  bool ownsImage_ = false;
  int frameIndex_ = 0;
  double zoom_ = 1.0;
  bool explicitZoom_ = false;
  int requestedWidth_ = 0, requestedHeight_ = 0;
  int scrollX_ = 0, scrollY_ = 0;
  int maxScrollX_ = 0, maxScrollY_ = 0;
  DisplayOptions options_;
  HBRUSH background_ = nullptr;
  HCURSOR panReady_ = nullptr, panHeld_ = nullptr;
  bool panning_ = false;
  POINT last_ = {0, 0};
  bool fullScreen_ = false;
  bool animate_ = true;
  bool advancePending_ = false;
  HWND notifyWindow_ = nullptr;
  UINT notifyMessage_ = 0;
  HPALETTE lastPalette_ = nullptr;
  bool failed_ = false;  // the shown image's last decode failed

  // Worker state. The worker reads only these atomics, the ready event and its
  // own stop state; step messages of an earlier run carry a stale generation.
  HANDLE readyEvent_ = nullptr;
  std::atomic<bool> shownDone_{true};   // shown frame complete or failed: nothing left to pace
  std::atomic<int> rowsPerStep_{1};
  WorkerThread worker_{kStopWaitMs, MB_ICONASTERISK};
};

}  // namespace viewer
