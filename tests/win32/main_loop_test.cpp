#include <gtest/gtest.h>

#include <vector>

#include "app/main_loop.h"

namespace {

constexpr UINT kMark = WM_APP + 1;  // posted with a sequence number in wParam
std::vector<WPARAM>* g_dispatched;  // marks that reached the window procedure

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMark) {
    g_dispatched->push_back(wParam);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A browse object stand-in: wants a given number of idle steps and can swallow one mark.
class ScriptedClient : public LoopClient {
 public:
  int idleStepsWanted = 0;
  WPARAM swallowedMark = 0;
  int idleSteps = 0;
  int needsIdleCalls = 0;
  int quitsOffered = 0;

  bool PreTranslate(MSG* msg) override {
    if (msg->message == WM_QUIT) ++quitsOffered;
    return msg->message == kMark && msg->wParam == swallowedMark;
  }
  bool NeedsIdle() override {
    ++needsIdleCalls;
    return idleSteps < idleStepsWanted;
  }
  void DoIdle() override { ++idleSteps; }
};

class MainLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MainLoopTestTarget";
    RegisterClassA(&wc);
    target_ = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(target_, nullptr);
    g_dispatched = &dispatched_;
  }
  void TearDown() override { DestroyWindow(target_); }

  void Post(WPARAM mark) { PostMessageA(target_, kMark, mark, 0); }
  // Unlike PostQuitMessage, a posted WM_QUIT takes its place in the queue.
  void PostQuit(int code) { PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, code, 0); }

  HWND target_ = nullptr;
  std::vector<WPARAM> dispatched_;
};

using Marks = std::vector<WPARAM>;

TEST_F(MainLoopTest, QuitMidDrainStillDispatchesTheRestOfThatDrain) {
  ScriptedClient client;
  client.idleStepsWanted = 1000;
  Post(1);
  PostQuit(7);
  Post(2);
  Post(3);
  EXPECT_EQ(RunMainLoop(&client), 7);
  EXPECT_EQ(dispatched_, (Marks{1, 2, 3}));
  EXPECT_EQ(client.quitsOffered, 0);
  EXPECT_EQ(client.idleSteps, 0);  // the loop ends before the idle step of that turn
}

// Busy mode runs idle steps with an empty queue; once the work is done the loop must
// block instead of spinning. The timer fires 200 ms into the wait.
ScriptedClient* g_timedClient;
int g_needsIdleCallsAtTimer;
void CALLBACK QuitFromTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_needsIdleCallsAtTimer = g_timedClient->needsIdleCalls;
  PostQuitMessage(4);
}

TEST_F(MainLoopTest, IdleWorkKeepsTheLoopBusyThenTheLoopBlocks) {
  ScriptedClient client;
  client.idleStepsWanted = 3;
  g_timedClient = &client;
  g_needsIdleCallsAtTimer = -1;
  SetTimer(nullptr, 0, 200, QuitFromTimer);
  EXPECT_EQ(RunMainLoop(&client), 4);
  EXPECT_EQ(client.idleSteps, 3);
  EXPECT_GE(g_needsIdleCallsAtTimer, 4);  // three busy turns and the one that blocked
  EXPECT_LT(g_needsIdleCallsAtTimer, 10) << "the loop spun instead of waiting";
}

TEST_F(MainLoopTest, SwallowedMessagesAreNotDispatchedInEitherMode) {
  for (int wanted : {0, 1000}) {
    ScriptedClient client;
    client.idleStepsWanted = wanted;
    client.swallowedMark = 2;
    dispatched_.clear();
    Post(1);
    Post(2);
    Post(3);
    PostQuit(5);
    EXPECT_EQ(RunMainLoop(&client), 5) << "idle steps wanted: " << wanted;
    EXPECT_EQ(dispatched_, (Marks{1, 3})) << "idle steps wanted: " << wanted;
  }
}

TEST_F(MainLoopTest, WithoutBrowseObjectDispatchesUntilQuit) {
  Post(1);
  PostQuit(9);
  Post(2);
  EXPECT_EQ(RunMainLoop(nullptr), 9);
  EXPECT_EQ(dispatched_, (Marks{1}));
  MSG left;
  EXPECT_TRUE(PeekMessageA(&left, target_, kMark, kMark, PM_REMOVE));  // waiting mode stops at the quit
}

}  // namespace
