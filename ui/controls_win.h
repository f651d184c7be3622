// The main window's controls as the window is created: one row per control,
// in the order of the form's layout table, which is also the creation and Tab
// order. Places are client pixels at 96 DPI; the four radio buttons are placed
// inside their frame. The window scales every number by its monitor's DPI.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <span>

#include "platform/text/text.h"

namespace tarnwell {

// The controls by the names of the form.
enum class Control : int {
  PathLabel,           // 标签2
  PathBox,             // 编辑框_搜索路径
  BrowseButton,        // 按钮_搜索路径
  ScopeFrame,          // 外形框1
  WholeComputerRadio,  // 单选框_整个电脑
  SpecifiedPathRadio,  // 单选框_指定路径
  ModeFrame,           // 外形框2
  ExactRadio,          // 单选框_精确搜索
  FuzzyRadio,          // 单选框_模糊搜索
  NamesBox,            // 编辑框_文件名
  HintLabel,           // 透明标签1
  ResultView,          // 超级列表框1
  SearchButton,        // 按钮_立即搜索
  NotFoundButton,      // 按钮_未搜索到文件
  CheckAllButton,      // 按钮1
  UncheckAllButton,    // 按钮2
  CopyButton,          // 按钮3
  MoveButton,          // 按钮5
  DeleteButton,        // 按钮4
  StatusLabel,         // 标签_状态
  Timer,               // 时钟1 (no window)
  MainWindow,          // the window itself, as the source of its own events
};
constexpr int kControlCount = static_cast<int>(Control::MainWindow);

enum class ControlKind {
  Label,
  TransparentLabel,
  LineEdit,
  MultiLineEdit,
  PushButton,
  RadioButton,
  Frame,
  ListView,
  NoWindow,  // the timer
};

enum InitialState : unsigned { kEnabled = 0, kChecked = 1, kDisabled = 2 };

struct ControlSpec {
  Control control;
  ControlKind kind;
  Control container;  // the frame that holds it, or MainWindow
  int left, top, width, height;
  const Text* text;  // caption or content; the column caption of the list
  unsigned state;
};

std::span<const ControlSpec> ControlTable();
const ControlSpec& SpecOf(Control control);

// Window control ids: the table's row number plus kFirstControlId, clear of
// the dialog ids (IDOK, IDCANCEL) that dialog-style key handling sends.
constexpr int kFirstControlId = 100;
inline int ControlId(Control control) { return kFirstControlId + static_cast<int>(control); }

constexpr int kOuterWidth = 760;
constexpr int kOuterHeight = 507;
constexpr int kResultColumnWidth = 600;
constexpr COLORREF kHintColour = RGB(192, 192, 192);

// What each kind of control is in Win32 terms.
struct KindSpec {
  const wchar_t* windowClass;
  DWORD style;
  DWORD extendedStyle;
};
const KindSpec& KindOf(ControlKind kind);
extern const wchar_t kFrameClass[];

// Extended list-view styles of the result list: check boxes, full-row
// selection, flat scroll bars, tool tips for cut-off texts.
constexpr DWORD kResultListExtendedStyle =
    LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB | LVS_EX_LABELTIP;

}  // namespace tarnwell
