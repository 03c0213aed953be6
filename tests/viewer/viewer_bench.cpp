// Times the viewer under Wine on the sample disc and prints the figures; run it
// by hand:
//   scripts/wine-env.sh scripts/wine-run.sh build/win32/bin/viewer_bench.exe
//
// - View command to the first painted band at BASE (the first row, painted before
//   the command returns, then the first band the pacing worker asks for);
// - View command to the complete 16BASE photo fitted to the screen;
// - Page Down to a photo the read-ahead has finished: shown whole at once.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "browse/browse_window.h"
#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "ui/comctl_version_win.h"
#include "ui/shell_state_win.h"
#include "viewer/viewer_window.h"

namespace {

constexpr int kRuns = 7;

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One main-loop turn: drain the queue, then one idle step when one is wanted.
// Returns the number of decode steps of the view control that ran.
int Turn(BrowseWindow& window, HWND view) {
  int steps = 0;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT || window.PreTranslate(&msg)) continue;
    if (msg.hwnd == view && msg.message == viewer::kDecodeStepMessage) ++steps;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (window.NeedsIdle()) window.DoIdle();
  return steps;
}

viewer::ViewerWindow* OpenViewer(BrowseWindow& window, int item) {
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(window.list(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(window.list(), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
  SendMessageA(window.hwnd(), WM_COMMAND, CMD_VIEW, 0);
  return window.ViewerCount() ? dynamic_cast<viewer::ViewerWindow*>(window.Viewer(window.ViewerCount() - 1))
                              : nullptr;
}

void Close(BrowseWindow& window, viewer::ViewerWindow* v) {
  DestroyWindow(v->Frame());
  while (window.ViewerCount()) Turn(window, nullptr);
}

bool Decoded(viewer::ViewerWindow* v) { return v->image(v->current())->isComplete() && !v->view().Decoding(); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  g_instance = GetModuleHandleA(nullptr);
  g_mainIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_MAIN));
  g_comctlVersion = ProbeComctlVersion();
  InitAllCommonControls();
  g_settings.SaveBrowseWindow = 0;
  BrowseWindow window;
  if (!window.Create(SW_SHOWNORMAL) || window.photos().Count() < 2) {
    std::printf("no sample disc on D:\n");
    return 1;
  }
  while (window.LoaderRunning()) Turn(window, nullptr);

  std::vector<double> firstRow, firstBand, wholeFit, paging;
  int pagedSteps = 0;
  for (int run = 0; run < kRuns; ++run) {
    g_settings.DefResolution = 3;  // BASE
    double start = Now();
    viewer::ViewerWindow* v = OpenViewer(window, 0);
    if (!v) return 1;
    firstRow.push_back(Now() - start);
    while (!Turn(window, v->view().hwnd()) && !Decoded(v)) {
    }
    firstBand.push_back(Now() - start);
    Close(window, v);

    g_settings.DefResolution = 0;  // fit to screen
    start = Now();
    v = OpenViewer(window, 0);
    while (!Decoded(v)) Turn(window, v->view().hwnd());
    wholeFit.push_back(Now() - start);
    // Wait for the read-ahead of the next photo, then page to it.
    while (!v->image(1)->isComplete()) Turn(window, v->view().hwnd());
    start = Now();
    SendMessageA(v->Frame(), WM_COMMAND, CMD_NEXT, 0);
    paging.push_back(Now() - start);
    pagedSteps += Turn(window, v->view().hwnd());
    if (!Decoded(v)) std::printf("the read-ahead photo was not complete when shown\n");
    Close(window, v);
  }
  const SIZE screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  std::printf("medians of %d runs, screen %ldx%ld\n", kRuns, screen.cx, screen.cy);
  std::printf("View to the first row painted at BASE:      %6.1f ms\n", Median(firstRow));
  std::printf("View to the first band painted at BASE:     %6.1f ms\n", Median(firstBand));
  std::printf("View to the whole 16BASE photo, fitted:     %6.1f ms\n", Median(wholeFit));
  std::printf("Page Down to the read-ahead photo, painted: %6.1f ms (%d decode steps after it)\n", Median(paging),
              pagedSteps);
  return 0;
}
