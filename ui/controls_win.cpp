#include "ui/controls_win.h"

#include <array>

#include "platform/text/gbk_literal.h"

namespace tarnwell {

const wchar_t kFrameClass[] = L"TarnwellFrame";

namespace {

using enum Control;
using enum ControlKind;

const Text& HintText() {
  static const Text hint = Concat("请在这里输入您要搜索的文件名，例如："_gbk,
                                  "\r\n201905200930150001.jpg"
                                  "\r\n201905200930150002.jpg"
                                  "\r\n201905200930150003.jpg"
                                  "\r\n201905200930150004.jpg"
                                  "\r\n201905200930150004.jpg"
                                  "\r\n201905200930150005.jpg");
  return hint;
}

const Text kNoText;

// name (in the comment), kind, container, left, top, width, height, text, initial state
const std::array<ControlSpec, kControlCount>& Table() {
  static const std::array<ControlSpec, kControlCount> table{{
      {PathLabel, Label, MainWindow, 8, 0, 51, 25, &"搜索路径"_gbk, kEnabled},                   // 标签2
      {PathBox, LineEdit, MainWindow, 66, 2, 138, 25, &kNoText, kEnabled},                       // 编辑框_搜索路径
      {BrowseButton, PushButton, MainWindow, 214, 4, 50, 25, &"<<<"_gbk, kEnabled},              // 按钮_搜索路径
      {ScopeFrame, Frame, MainWindow, 272, 2, 480, 32, &kNoText, kEnabled},                      // 外形框1
      {WholeComputerRadio, RadioButton, ScopeFrame, 8, 5, 160, 24, &"搜索整个电脑(速度稍慢)"_gbk,  // 单选框_整个电脑
       kEnabled},
      {SpecifiedPathRadio, RadioButton, ScopeFrame, 175, 5, 145, 24, &"搜索指定路径(快速)"_gbk,    // 单选框_指定路径
       kChecked},
      {ModeFrame, Frame, MainWindow, 8, 41, 744, 48, &kNoText, kEnabled},  // 外形框2
      {ExactRadio, RadioButton, ModeFrame, 8, 8, 576, 16,                  // 单选框_精确搜索
       &"精确搜索(要搜索的文件名需要填写完整准确，一行一个文件名，可以不写扩展名)"_gbk, kChecked},
      {FuzzyRadio, RadioButton, ModeFrame, 8, 27, 576, 16,  // 单选框_模糊搜索
       &"模糊搜索(只要填写文件名的任意关键字，即可搜索出所有包含这关键字的文件，一行一个关键字)"_gbk, kEnabled},
      {NamesBox, MultiLineEdit, MainWindow, 6, 97, 242, 319, &kNoText, kEnabled},                // 编辑框_文件名
      {HintLabel, TransparentLabel, MainWindow, 11, 103, 240, 297, &HintText(), kEnabled},       // 透明标签1
      {ResultView, ListView, MainWindow, 251, 98, 501, 318, &"文件路径"_gbk, kEnabled},          // 超级列表框1
      {SearchButton, PushButton, MainWindow, 6, 424, 74, 30, &"立即搜索"_gbk, kEnabled},         // 按钮_立即搜索
      {NotFoundButton, PushButton, MainWindow, 90, 424, 142, 30, &"未搜索到的文件列表"_gbk,      // 按钮_未搜索到文件
       kDisabled},
      {CheckAllButton, PushButton, MainWindow, 250, 424, 64, 32, &"全部勾选"_gbk, kEnabled},     // 按钮1
      {UncheckAllButton, PushButton, MainWindow, 322, 424, 84, 32, &"取消全部勾选"_gbk, kEnabled},  // 按钮2
      {CopyButton, PushButton, MainWindow, 414, 424, 82, 32, &"复制选定文件"_gbk, kEnabled},     // 按钮3
      {MoveButton, PushButton, MainWindow, 504, 424, 80, 32, &"移动选定文件"_gbk, kEnabled},     // 按钮5
      {DeleteButton, PushButton, MainWindow, 592, 424, 85, 32, &"删除选定文件"_gbk, kEnabled},   // 按钮4
      {StatusLabel, Label, MainWindow, 8, 456, 424, 16, &kNoText, kEnabled},                     // 标签_状态
      {Timer, NoWindow, MainWindow, 0, 0, 0, 0, &kNoText, kEnabled},                   // 时钟1: interval 0
  }};
  return table;
}

}  // namespace

std::span<const ControlSpec> ControlTable() { return Table(); }

const ControlSpec& SpecOf(Control control) { return Table()[static_cast<std::size_t>(control)]; }

const KindSpec& KindOf(ControlKind kind) {
  // Labels: no border, no background of their own, one line, vertically
  // centred; "&" is shown as it is (paths may hold it).
  static const KindSpec label{L"STATIC", SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX, 0};
  // Drawn over what lies below it (see MakeTransparentLabel); it reports a
  // press of the left mouse button.
  static const KindSpec transparentLabel{L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0};
  static const KindSpec lineEdit{L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
  static const KindSpec multiLineEdit{
      L"EDIT", ES_LEFT | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN | WS_HSCROLL | WS_VSCROLL |
                   WS_TABSTOP,
      WS_EX_CLIENTEDGE};
  static const KindSpec pushButton{L"BUTTON", BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_TABSTOP, 0};
  static const KindSpec radioButton{L"BUTTON", BS_AUTORADIOBUTTON | BS_MULTILINE | WS_TABSTOP, 0};
  // Holds a radio pair; Tab and the arrow keys reach into it.
  static const KindSpec frame{kFrameClass, 0, WS_EX_CONTROLPARENT};
  static const KindSpec listView{
      WC_LISTVIEWW, LVS_REPORT | LVS_OWNERDATA | LVS_NOSORTHEADER | WS_TABSTOP, WS_EX_CLIENTEDGE};
  static const KindSpec none{nullptr, 0, 0};
  switch (kind) {
    case Label: return label;
    case TransparentLabel: return transparentLabel;
    case LineEdit: return lineEdit;
    case MultiLineEdit: return multiLineEdit;
    case PushButton: return pushButton;
    case RadioButton: return radioButton;
    case Frame: return frame;
    case ListView: return listView;
    case NoWindow: return none;
  }
  return none;
}

}  // namespace tarnwell
