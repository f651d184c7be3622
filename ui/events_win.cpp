#include "ui/events_win.h"

namespace tarnwell {
namespace {

using enum Control;
using enum Event;
using H = MainWindowHandlers;

// No other event of any control is handled: the labels other than the hint,
// the frames and the names box have no handlers, and the window none for
// closing, resizing or keys.
constexpr EventBinding kEventTable[] = {
    {MainWindow, Created, &H::LoadSettings},
    {SearchButton, Click, &H::StartSearch},                  // 按钮_立即搜索
    {BrowseButton, Click, &H::BrowseSearchFolder},           // 按钮_搜索路径
    {PathBox, ContentChanged, &H::SaveSearchPath},           // 编辑框_搜索路径
    {WholeComputerRadio, Click, &H::SaveScopeWholeComputer},  // 单选框_整个电脑
    {SpecifiedPathRadio, Click, &H::SaveScopeSpecifiedPaths},  // 单选框_指定路径
    {ExactRadio, Click, &H::SaveMatchModeExact},              // 单选框_精确搜索
    {FuzzyRadio, Click, &H::SaveMatchModeFuzzy},              // 单选框_模糊搜索
    {HintLabel, LeftButtonDown, &H::HideHint},                // 透明标签1
    {ResultView, DoubleClick, &H::OpenCurrentRow},            // 超级列表框1
    {CheckAllButton, Click, &H::CheckAll},                    // 按钮1
    {UncheckAllButton, Click, &H::UncheckAll},                // 按钮2
    {CopyButton, Click, &H::BatchCopy},                       // 按钮3
    {MoveButton, Click, &H::BatchMove},                       // 按钮5
    {DeleteButton, Click, &H::BatchDelete},                   // 按钮4
    {NotFoundButton, Click, &H::NotFoundReport},              // 按钮_未搜索到文件
    {Timer, Tick, &H::CompletionTick},                        // 时钟1
};

}  // namespace

void RaiseEvent(const MainWindowHandlers& handlers, Control control, Event event) {
  for (const EventBinding& binding : kEventTable) {
    if (binding.control != control || binding.event != event) continue;
    const H::Handler& handler = handlers.*binding.handler;
    if (handler) handler();
  }
}

}  // namespace tarnwell
