#include "ui/names_box_menu_win.h"

#include <array>
#include <string>

#include "platform/text/gbk_literal.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/owned_window_objects_win.h"
#include "ui/names_box_commands_win.h"

namespace tarnwell {
namespace {

using C = NamesBoxCommands;
using enum NamesBoxItemNeeds;

// text, command, what it needs, check item
const std::array<NamesBoxMenuItem, 18>& Table() {
  static const std::array<NamesBoxMenuItem, 18> table{{
      {&"撤销"_gbk, &C::Undo, Undo, false},
      {nullptr, nullptr, Nothing, false},
      {&"剪切"_gbk, &C::Cut, Selection, false},
      {&"复制"_gbk, &C::Copy, Selection, false},
      {&"粘贴"_gbk, &C::Paste, ClipboardText, false},
      {&"删除"_gbk, &C::Delete, Selection, false},
      {nullptr, nullptr, Nothing, false},
      {&"全选"_gbk, &C::SelectAll, MoreToSelect, false},
      {nullptr, nullptr, Nothing, false},
      {&"按分隔符拆分"_gbk, &C::SplitAtSeparators, AnyText, false},
      {&"按空格拆分"_gbk, &C::SplitAtSpaces, AnyText, false},
      {&"去掉序号和符号"_gbk, &C::DropListMarkers, AnyText, false},
      {&"展开编号范围"_gbk, &C::ExpandNumberRanges, AnyText, false},
      {&"全角转半角"_gbk, &C::FullWidthToHalfWidth, AnyText, false},
      {&"去掉重复"_gbk, &C::DropRepeatedLines, AnyText, false},
      {&"一键整理"_gbk, &C::TidyAll, AnyText, false},
      {nullptr, nullptr, Nothing, false},
      {&"按编号匹配"_gbk, &C::ToggleNumberRule, Nothing, true},
  }};
  return table;
}

bool Offered(NamesBoxItemNeeds needs, const NamesBoxMenuState& state) {
  switch (needs) {
    case Nothing: return true;
    case Undo: return state.canUndo;
    case Selection: return state.hasSelection;
    case ClipboardText: return state.clipboardHoldsText;
    case MoreToSelect: return state.hasText && !state.selectsAll;
    case AnyText: return state.hasText;
  }
  return true;
}

// Menu item ids are the table's row number plus one (0 means no choice).
UINT IdOf(std::size_t row) { return static_cast<UINT>(row + 1); }

}  // namespace

std::span<const NamesBoxMenuItem> NamesBoxMenuTable() { return Table(); }

const NamesBoxMenuItem* ShowNamesBoxMenu(HWND owner, POINT at, const NamesBoxMenuState& state) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return nullptr;
  const auto table = NamesBoxMenuTable();
  for (std::size_t row = 0; row < table.size(); ++row) {
    const NamesBoxMenuItem& item = table[row];
    if (!item.text) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (!Offered(item.needs, state)) flags |= MF_GRAYED;
    if (item.checkItem && state.numberRuleChosen) flags |= MF_CHECKED;
    const std::wstring text = Gb18030ToWide(*item.text);
    AppendMenuW(menu.get(), flags, IdOf(row), text.c_str());
  }
  const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, owner, nullptr));
  if (chosen == 0 || chosen > table.size() || !table[chosen - 1].command) return nullptr;
  return &table[chosen - 1];
}

}  // namespace tarnwell
