// Every action on the window raises exactly its own event of its own
// control, and nothing for a disabled control; the program binds its
// operations to those events (Program::Connect).
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "platform/window/window_properties_win.h"
#include "tests/win/support/window_test_support.h"
#include "ui/main_window_win.h"

namespace tarnwell {
namespace {

const char* const kControlNames[] = {
    "PathLabel",    "PathBox",        "BrowseButton",   "ScopeFrame",       "WholeComputerRadio", "SpecifiedPathRadio",
    "ModeFrame",    "ExactRadio",     "FuzzyRadio",     "NamesBox",         "HintLabel",          "ResultView",
    "SearchButton", "NotFoundButton", "CheckAllButton", "UncheckAllButton", "CopyButton",         "MoveButton",
    "DeleteButton", "StatusLabel",    "Timer",          "MainWindow"};
const char* const kEventNames[] = {"Created", "Click",    "ContentChanged", "LeftButtonDown", "DoubleClick",
                                   "Tick",    "EnterKey", "CopyKey",        "ContextMenu"};

std::string NameOf(Control control, Event event) {
  return std::string(kControlNames[static_cast<int>(control)]) + "." + kEventNames[static_cast<int>(event)];
}

// Every event of every control is bound to a recorder, so that each action
// shows exactly which events the window raised for it.
class EventWiring : public ::testing::Test {
 protected:
  void SetUp() override {
    static_assert(std::size(kControlNames) == kControlCount + 1);
    for (int c = 0; c <= kControlCount; ++c) {
      for (int e = 0; e < static_cast<int>(std::size(kEventNames)); ++e) {
        auto control = static_cast<Control>(c);
        auto event = static_cast<Event>(e);
        window.Events().On(control, event, [this, control, event] { ran.push_back(NameOf(control, event)); });
      }
    }
    ASSERT_TRUE(window.Create(SW_SHOWNORMAL));
    testing::PumpUntil([] { return false; }, 100);
  }
  // What runs for one event, and nothing else.
  std::vector<std::string> RanFor(const std::function<void()>& cause) {
    ran.clear();
    cause();
    testing::PumpUntil([] { return false; }, 50);
    return ran;
  }
  using Ran = std::vector<std::string>;
  HWND C(Control control) { return window.ControlWindow(control); }

  MainWindow window;
  std::vector<std::string> ran;
};

TEST_F(EventWiring, EachControlRaisesItsOwnEvent) {
  for (Control button : {Control::SearchButton, Control::BrowseButton, Control::WholeComputerRadio,
                         Control::SpecifiedPathRadio, Control::FuzzyRadio, Control::ExactRadio, Control::CheckAllButton,
                         Control::UncheckAllButton, Control::CopyButton, Control::MoveButton, Control::DeleteButton}) {
    EXPECT_EQ(RanFor([&] { SendMessageW(C(button), BM_CLICK, 0, 0); }), Ran{NameOf(button, Event::Click)});
  }
  const std::string pathChanged = NameOf(Control::PathBox, Event::ContentChanged);
  EXPECT_EQ(RanFor([&] { SetContent(C(Control::PathBox), "D:\\x"); }), Ran{pathChanged});
  EXPECT_EQ(RanFor([&] { SetContent(C(Control::PathBox), "D:\\x"); }), Ran{pathChanged});  // same text again
  EXPECT_EQ(RanFor([&] {
              SendMessageW(C(Control::HintLabel), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
              SendMessageW(C(Control::HintLabel), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
            }),
            Ran{NameOf(Control::HintLabel, Event::LeftButtonDown)});
  EXPECT_EQ(RanFor([&] { SendMessageW(C(Control::StatusLabel), WM_LBUTTONDOWN, MK_LBUTTON, 0); }), Ran{});
  EXPECT_EQ(RanFor([&] {
              SendMessageW(C(Control::ResultView), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 40));
              SendMessageW(C(Control::ResultView), WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
            }),
            Ran{NameOf(Control::ResultView, Event::DoubleClick)});
}

// The list's keys as Explorer has them; Space and Ctrl+A are the list's
// own (they select and tick rows) and run no operation.
TEST_F(EventWiring, TheListKeysRunTheirOperations) {
  HWND list = C(Control::ResultView);
  SetFocus(list);
  auto key = [&](WORD vk, std::initializer_list<BYTE> held) {
    return RanFor([&] { testing::PostKeyHolding(list, vk, held); });
  };
  const std::string menu = NameOf(Control::ResultView, Event::ContextMenu);
  EXPECT_EQ(key(VK_RETURN, {}), Ran{NameOf(Control::ResultView, Event::EnterKey)});
  EXPECT_EQ(key('C', {VK_CONTROL}), Ran{NameOf(Control::ResultView, Event::CopyKey)});
  EXPECT_EQ(key('C', {}), Ran{});
  EXPECT_EQ(key(VK_F10, {VK_SHIFT}), Ran{menu});
  EXPECT_EQ(key(VK_F10, {}), Ran{});
  EXPECT_EQ(key(VK_APPS, {}), Ran{menu});  // its release makes no second menu
  EXPECT_EQ(key(VK_SPACE, {}), Ran{});
  EXPECT_EQ(key('A', {VK_CONTROL}), Ran{});
  EXPECT_EQ(RanFor([&] {
              PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 40));
              PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(40, 40));
              testing::PumpUntil([] { return false; }, 200);
            }),
            Ran{menu});
  // Enter elsewhere clicks no button and opens nothing.
  SetFocus(C(Control::PathBox));
  EXPECT_EQ(RanFor([&] { testing::PostKeyHolding(C(Control::PathBox), VK_RETURN, {}); }), Ran{});
}

TEST_F(EventWiring, TheCreatedEventComesOnce) {
  MainWindow second;
  int loads = 0;
  second.Events().On(Control::MainWindow, Event::Created, [&] { ++loads; });
  ASSERT_TRUE(second.Create(SW_SHOWNORMAL));
  EXPECT_EQ(loads, 1);
}

TEST_F(EventWiring, TheTimerTicksOnlyWhileItHasAnInterval) {
  EXPECT_EQ(RanFor([] {}), Ran{});
  window.Timer().SetInterval(30);
  ran.clear();
  ASSERT_TRUE(testing::PumpUntil([&] { return !ran.empty(); }, 2000));
  EXPECT_EQ(ran.front(), NameOf(Control::Timer, Event::Tick));
  window.Timer().SetInterval(0);
  EXPECT_EQ(RanFor([] { Sleep(100); }), Ran{});
}

TEST_F(EventWiring, AClickOnADisabledButtonRunsNothing) {
  ASSERT_FALSE(IsWindowEnabled(C(Control::NotFoundButton)));
  RECT place = testing::RectInParent(C(Control::NotFoundButton));
  EXPECT_EQ(RanFor([&] {
              testing::ClickAt(window.Handle(), POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2});
              testing::PumpUntil([] { return false; }, 200);
            }),
            Ran{});
  SetDisabled(C(Control::NotFoundButton), false);
  EXPECT_EQ(RanFor([&] { SendMessageW(C(Control::NotFoundButton), BM_CLICK, 0, 0); }),
            Ran{NameOf(Control::NotFoundButton, Event::Click)});
}

}  // namespace
}  // namespace tarnwell
