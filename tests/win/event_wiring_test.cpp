// Every event of the window runs exactly the operation bound to it, and
// nothing runs for an event without a binding or for a disabled control.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/window_properties_win.h"
#include "tests/win/support/window_test_support.h"
#include "ui/main_window_win.h"

namespace tarnwell {
namespace {

class EventWiring : public ::testing::Test {
 protected:
  void SetUp() override {
    MainWindowHandlers& h = window.Handlers();
    auto record = [this](const char* name) { return [this, name] { ran.push_back(name); }; };
    h.LoadSettings = record("LoadSettings");
    h.StartSearch = record("StartSearch");
    h.BrowseSearchFolder = record("BrowseSearchFolder");
    h.SaveSearchPath = record("SaveSearchPath");
    h.SaveScopeWholeComputer = record("SaveScopeWholeComputer");
    h.SaveScopeSpecifiedPaths = record("SaveScopeSpecifiedPaths");
    h.SaveMatchModeExact = record("SaveMatchModeExact");
    h.SaveMatchModeFuzzy = record("SaveMatchModeFuzzy");
    h.HideHint = record("HideHint");
    h.OpenCurrentRow = record("OpenCurrentRow");
    h.CheckAll = record("CheckAll");
    h.UncheckAll = record("UncheckAll");
    h.BatchCopy = record("BatchCopy");
    h.BatchMove = record("BatchMove");
    h.BatchDelete = record("BatchDelete");
    h.NotFoundReport = record("NotFoundReport");
    h.CompletionTick = record("CompletionTick");
    h.CopySelectedPaths = record("CopySelectedPaths");
    h.ShowListMenu = record("ShowListMenu");
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

TEST_F(EventWiring, EachControlRunsItsOwnOperation) {
  window.Handlers().LoadSettings = nullptr;
  struct {
    Control control;
    const char* operation;
  } clicks[] = {
      {Control::SearchButton, "StartSearch"},          {Control::BrowseButton, "BrowseSearchFolder"},
      {Control::WholeComputerRadio, "SaveScopeWholeComputer"},
      {Control::SpecifiedPathRadio, "SaveScopeSpecifiedPaths"},
      {Control::FuzzyRadio, "SaveMatchModeFuzzy"},     {Control::ExactRadio, "SaveMatchModeExact"},
      {Control::CheckAllButton, "CheckAll"},           {Control::UncheckAllButton, "UncheckAll"},
      {Control::CopyButton, "BatchCopy"},              {Control::MoveButton, "BatchMove"},
      {Control::DeleteButton, "BatchDelete"},
  };
  for (const auto& click : clicks) {
    EXPECT_EQ(RanFor([&] { SendMessageW(C(click.control), BM_CLICK, 0, 0); }), Ran{click.operation});
  }
  EXPECT_EQ(RanFor([&] { SetContent(C(Control::PathBox), "D:\\x"); }), Ran{"SaveSearchPath"});
  EXPECT_EQ(RanFor([&] { SetContent(C(Control::PathBox), "D:\\x"); }), Ran{"SaveSearchPath"});  // same text again
  EXPECT_EQ(RanFor([&] { SetContent(C(Control::NamesBox), "abc"); }), Ran{});
  EXPECT_EQ(RanFor([&] { SendMessageW(C(Control::HintLabel), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
                         SendMessageW(C(Control::HintLabel), WM_LBUTTONUP, 0, MAKELPARAM(3, 3)); }),
            Ran{"HideHint"});
  EXPECT_EQ(RanFor([&] { SendMessageW(C(Control::StatusLabel), WM_LBUTTONDOWN, MK_LBUTTON, 0); }), Ran{});
  EXPECT_EQ(RanFor([&] {
              SendMessageW(C(Control::ResultView), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(40, 40));
              SendMessageW(C(Control::ResultView), WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
            }),
            Ran{"OpenCurrentRow"});
}

// The list's keys as Explorer has them; Space and Ctrl+A are the list's
// own (they select and tick rows) and run no operation.
TEST_F(EventWiring, TheListKeysRunTheirOperations) {
  HWND list = C(Control::ResultView);
  SetFocus(list);
  auto key = [&](WORD vk, std::initializer_list<BYTE> held) {
    return RanFor([&] { testing::PostKeyHolding(list, vk, held); });
  };
  EXPECT_EQ(key(VK_RETURN, {}), Ran{"OpenCurrentRow"});
  EXPECT_EQ(key('C', {VK_CONTROL}), Ran{"CopySelectedPaths"});
  EXPECT_EQ(key('C', {}), Ran{});
  EXPECT_EQ(key(VK_F10, {VK_SHIFT}), Ran{"ShowListMenu"});
  EXPECT_EQ(key(VK_F10, {}), Ran{});
  EXPECT_EQ(key(VK_APPS, {}), Ran{"ShowListMenu"});  // its release makes no second menu
  EXPECT_EQ(key(VK_SPACE, {}), Ran{});
  EXPECT_EQ(key('A', {VK_CONTROL}), Ran{});
  EXPECT_EQ(RanFor([&] {
              PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 40));
              PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(40, 40));
              testing::PumpUntil([] { return false; }, 200);
            }),
            Ran{"ShowListMenu"});
  // Enter elsewhere clicks no button and opens nothing.
  SetFocus(C(Control::PathBox));
  EXPECT_EQ(RanFor([&] { testing::PostKeyHolding(C(Control::PathBox), VK_RETURN, {}); }), Ran{});
}

TEST_F(EventWiring, TheCreatedEventLoadsTheSettingsOnce) {
  MainWindow second;
  int loads = 0;
  second.Handlers().LoadSettings = [&] { ++loads; };
  ASSERT_TRUE(second.Create(SW_SHOWNORMAL));
  EXPECT_EQ(loads, 1);
}

TEST_F(EventWiring, TheTimerTicksOnlyWhileItHasAnInterval) {
  EXPECT_EQ(RanFor([] {}), Ran{});
  window.Timer().SetInterval(30);
  ran.clear();
  ASSERT_TRUE(testing::PumpUntil([&] { return !ran.empty(); }, 2000));
  EXPECT_EQ(ran.front(), "CompletionTick");
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
  EXPECT_EQ(RanFor([&] { SendMessageW(C(Control::NotFoundButton), BM_CLICK, 0, 0); }), Ran{"NotFoundReport"});
}

}  // namespace
}  // namespace tarnwell
