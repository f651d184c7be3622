// The window operations on the real main window: message boxes answered by
// a helper thread that finds the real dialog, the timer's phase rules,
// appending to an edit box, and the event loops.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "platform/window/edit_text_win.h"
#include "platform/window/event_pump_win.h"
#include "platform/text/gbk_literal.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/message_box_win.h"
#include "platform/window/window_properties_win.h"
#include "tests/win/support/window_test_support.h"
#include "ui/main_window_win.h"

namespace tarnwell {
namespace {

using testing::Wide;
using testing::WindowTextOf;

class WindowPrimitives : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(window.Create(SW_SHOWNORMAL));
    ProcessPendingEvents();
  }

  MainWindow window;
};

// What the helper thread saw of the box before it answered.
struct SeenBox {
  std::wstring caption;
  std::wstring message;
  bool ownerWindowEnabled = true;
};

// Shows a box on this thread while a helper thread finds it and answers it
// with `answer`; returns the box's result.
MessageBoxButton ShowAndAnswer(const std::function<MessageBoxButton()>& show, HWND mainWindow,
                               const std::function<void(HWND)>& answer, SeenBox& seen) {
  DWORD thread = GetCurrentThreadId();
  std::thread helper([&] {
    HWND dialog = testing::WaitForDialog(thread);
    if (!dialog) return;
    seen.caption = WindowTextOf(dialog);
    seen.message = WindowTextOf(GetDlgItem(dialog, 0xFFFF));
    seen.ownerWindowEnabled = IsWindowEnabled(mainWindow) != FALSE;
    answer(dialog);
  });
  MessageBoxButton result = show();
  helper.join();
  return result;
}

std::function<void(HWND)> ClickButton(int id) {
  return [id](HWND dialog) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); };
}

std::function<void(HWND)> PressEscape() {
  return [](HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    HWND target = info.hwndFocus ? info.hwndFocus : dialog;
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  };
}

TEST_F(WindowPrimitives, MessageBoxAnswersAreMappedAndTheDefaultCaptionIsUsed) {
  const Text message = "请选择要删除的文件"_gbk;
  SeenBox seen;
  EXPECT_EQ(ShowAndAnswer([&] { return ShowMessageBox(message); }, window.Handle(), ClickButton(IDOK), seen), MessageBoxButton::Ok);
  EXPECT_EQ(seen.caption, Wide("信息："));
  EXPECT_EQ(seen.message, Wide("请选择要删除的文件"));
  EXPECT_FALSE(seen.ownerWindowEnabled) << "the box is task-modal";
  EXPECT_TRUE(IsWindowEnabled(window.Handle()));

  const Text caption = "确定删除吗？"_gbk;
  auto okCancel = [&] { return ShowMessageBox(message, MessageBoxStyle::OkCancel, caption); };
  EXPECT_EQ(ShowAndAnswer(okCancel, window.Handle(), ClickButton(IDOK), seen), MessageBoxButton::Ok);
  EXPECT_EQ(seen.caption, Wide("确定删除吗？"));
  EXPECT_EQ(ShowAndAnswer(okCancel, window.Handle(), ClickButton(IDCANCEL), seen), MessageBoxButton::Cancel);
}

TEST_F(WindowPrimitives, EscapeClosesAMessageBoxAsCancelOnlyWhenItHasCancel) {
  SeenBox seen;
  const Text message = "x"_gbk;
  EXPECT_EQ(ShowAndAnswer([&] { return ShowMessageBox(message, MessageBoxStyle::OkCancel); }, window.Handle(),
                          PressEscape(), seen),
            MessageBoxButton::Cancel);
  EXPECT_EQ(ShowAndAnswer([&] { return ShowMessageBox(message, MessageBoxStyle::Ok); }, window.Handle(), PressEscape(),
                          seen),
            MessageBoxButton::Ok);
}

// Tick times of 时钟1, in milliseconds from `start`.
class TickLog {
 public:
  explicit TickLog(MainWindow& window) : start_(GetTickCount64()) {
    window.Events().On(Control::Timer, Event::Tick, [this] { ticks_.push_back(GetTickCount64() - start_); });
  }
  ULONGLONG Now() const { return GetTickCount64() - start_; }
  const std::vector<ULONGLONG>& Ticks() const { return ticks_; }
  // The first tick at or after `after`.
  long long FirstAfter(ULONGLONG after) const {
    for (ULONGLONG tick : ticks_) {
      if (tick >= after) return static_cast<long long>(tick);
    }
    return -1;
  }

 private:
  ULONGLONG start_;
  std::vector<ULONGLONG> ticks_;
};

TEST_F(WindowPrimitives, WritingTheSameIntervalKeepsThePhaseAndAnyOtherRestartsIt) {
  TickLog log(window);
  WindowTimer& timer = window.Timer();

  timer.SetInterval(600);
  ULONGLONG started = log.Now();
  DelayProcessingEvents(300);
  ULONGLONG rewritten = log.Now();
  timer.SetInterval(600);  // the same value: the first tick stays one period after the start
  DelayProcessingEvents(500);
  long long first = log.FirstAfter(rewritten);
  ASSERT_GE(first, 0);
  EXPECT_LT(first - static_cast<long long>(rewritten), 450) << "started at " << started;

  timer.SetInterval(0);
  timer.SetInterval(600);  // stopped and started: one whole period from now
  ULONGLONG restarted = log.Now();
  DelayProcessingEvents(900);
  first = log.FirstAfter(restarted);
  ASSERT_GE(first, 0);
  EXPECT_GE(first - static_cast<long long>(restarted), 550);
  EXPECT_EQ(timer.Interval(), 600);
}

TEST_F(WindowPrimitives, ZeroOrANegativeIntervalStopsTheTimer) {
  TickLog log(window);
  WindowTimer& timer = window.Timer();
  timer.SetInterval(50);
  ASSERT_TRUE(testing::PumpUntil([&] { return !log.Ticks().empty(); }, 20000));

  timer.SetInterval(-5);
  EXPECT_EQ(timer.Interval(), 0);
  std::size_t ticks = log.Ticks().size();
  DelayProcessingEvents(250);
  EXPECT_EQ(log.Ticks().size(), ticks);
}

TEST_F(WindowPrimitives, TicksDoNotQueueUpWhileTheThreadIsBusy) {
  window.Timer().SetInterval(50);
  Sleep(600);  // busy: a dozen periods pass without the thread looking at its queue
  int waiting = 0;
  MSG message;
  while (waiting < 10 && PeekMessageW(&message, window.Handle(), WM_TIMER, WM_TIMER, PM_REMOVE)) {
    if (message.wParam == window.Timer().Id()) ++waiting;
  }
  EXPECT_EQ(waiting, 1);
}

TEST_F(WindowPrimitives, AppendEditTextAppendsUnchangedAtTheEnd) {
  HWND names = window.ControlWindow(Control::NamesBox);
  const Text first = "照片1.jpg\r\n照片2"_gbk;
  AppendEditText(names, first);
  EXPECT_EQ(GetContent(names), first);

  // The last line has no line break: the text continues it.
  const Text more = ".jpg\r\n证件"_gbk;
  AppendEditText(names, more);
  EXPECT_EQ(GetContent(names), "照片1.jpg\r\n照片2.jpg\r\n证件"_gbk);
  EXPECT_FALSE(SendMessageW(names, EM_CANUNDO, 0, 0)) << "the user cannot undo an append";
  DWORD start = 0, end = 0;
  SendMessageW(names, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, static_cast<DWORD>(GetWindowTextLengthW(names)));
  EXPECT_EQ(end, start);
}

// Writing one radio button leaves the other of its pair alone, even where the
// platform would clear the rest of the group for an automatic radio button.
TEST_F(WindowPrimitives, CheckingOneRadioButtonLeavesItsPartnerAlone) {
  HWND exact = window.ControlWindow(Control::ExactRadio);
  HWND fuzzy = window.ControlWindow(Control::FuzzyRadio);
  SetChecked(fuzzy, true);
  EXPECT_TRUE(GetChecked(fuzzy));
  EXPECT_TRUE(GetChecked(exact));
  SetChecked(exact, false);
  EXPECT_FALSE(GetChecked(exact));
  EXPECT_TRUE(GetChecked(fuzzy));
  // A click still works the pair as one group.
  SendMessageW(exact, BM_CLICK, 0, 0);
  EXPECT_TRUE(GetChecked(exact));
  EXPECT_FALSE(GetChecked(fuzzy));
}

TEST_F(WindowPrimitives, ProcessPendingEventsStopsAtAQuitRequestAndLeavesItQueued) {
  std::atomic<int> drained{0};
  std::thread worker([&] { window.Queue()->Post([&] { ++drained; }); });
  worker.join();
  PostQuitMessage(7);
  ProcessPendingEvents();
  EXPECT_EQ(drained.load(), 1) << "what was queued before the quit request ran";
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message != WM_QUIT) DispatchMessageW(&message);
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace tarnwell
