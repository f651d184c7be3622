#include "ui/result_list_menu_win.h"

#include <array>
#include <string>

#include "platform/text/gbk_literal.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/window/owned_window_objects_win.h"
#include "ui/result_list_commands_win.h"

namespace tarnwell {
namespace {

using C = ResultListCommands;
using S = const ListMenuState&;

bool NoSelection(S state) { return !state.rowsSelected; }
bool NothingToUndo(S state) { return !state.canUndo; }
bool NoProblems(S state) { return !state.hasProblems; }
bool RecycleBin(S state) { return state.recycleBinChosen; }
bool Replace(S state) { return state.sameName == SameNameRule::Replace; }
bool Skip(S state) { return state.sameName == SameNameRule::Skip; }
bool Rename(S state) { return state.sameName == SameNameRule::Rename; }
bool KeepFolders(S state) { return state.keepFolders; }
bool VerifyCopies(S state) { return state.verifyCopies; }

constexpr auto kNone = MenuMark::None;
constexpr auto kCheck = MenuMark::Check;
constexpr auto kRadio = MenuMark::Radio;

// text, command, in the submenu, greyed, mark, marked
const std::array<ListMenuItem, 24>& Table() {
  static const std::array<ListMenuItem, 24> table{{
      {&"打开(&O)"_gbk, &C::OpenCurrentRow, false, NoSelection, kNone, nullptr},
      {&"打开所在文件夹(&F)"_gbk, &C::OpenRowFolder, false, NoSelection, kNone, nullptr},
      {&"复制路径(&C)"_gbk, &C::CopySelectedPaths, false, NoSelection, kNone, nullptr},
      {nullptr, nullptr, false, nullptr, kNone, nullptr},
      {&"勾选选中项"_gbk, &C::TickSelectedRows, false, NoSelection, kNone, nullptr},
      {&"取消勾选选中项"_gbk, &C::UntickSelectedRows, false, NoSelection, kNone, nullptr},
      {nullptr, nullptr, false, nullptr, kNone, nullptr},
      {&"名称统计(&S)..."_gbk, &C::NameStatistics, false, nullptr, kNone, nullptr},
      {&"导出结果列表(&E)..."_gbk, &C::ExportResults, false, nullptr, kNone, nullptr},
      {nullptr, nullptr, false, nullptr, kNone, nullptr},
      {&"删除时放入回收站"_gbk, &C::ToggleRecycleBin, false, nullptr, kCheck, RecycleBin},
      {&"同名文件"_gbk, nullptr, false, nullptr, kNone, nullptr},
      {&"替换"_gbk, &C::ChooseReplace, true, nullptr, kRadio, Replace},
      {&"跳过"_gbk, &C::ChooseSkip, true, nullptr, kRadio, Skip},
      {&"保留两者 (自动改名)"_gbk, &C::ChooseRename, true, nullptr, kRadio, Rename},
      {nullptr, nullptr, true, nullptr, kNone, nullptr},
      {&"保持原文件夹结构"_gbk, &C::ToggleKeepFolders, true, nullptr, kCheck, KeepFolders},
      {&"复制后校验"_gbk, &C::ToggleVerifyCopies, false, nullptr, kCheck, VerifyCopies},
      {nullptr, nullptr, false, nullptr, kNone, nullptr},
      {&"撤销上次移动"_gbk, &C::UndoLastMove, false, NothingToUndo, kNone, nullptr},
      {&"打开操作记录"_gbk, &C::OpenOperationRecord, false, nullptr, kNone, nullptr},
      {&"问题列表(&P)..."_gbk, &C::ShowProblems, false, NoProblems, kNone, nullptr},
      {nullptr, nullptr, false, nullptr, kNone, nullptr},
      {&"缩略图(&T)...\tCtrl+T"_gbk, &C::ShowThumbnails, false, nullptr, kNone, nullptr},
  }};
  return table;
}

// Menu item ids are the table's row number plus one (0 means no choice).
UINT IdOf(std::size_t row) { return static_cast<UINT>(row + 1); }

void AppendItem(HMENU menu, const ListMenuItem& item, std::size_t row, const ListMenuState& state) {
  if (!item.text) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  const std::wstring text = Gb18030ToWide(*item.text);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
  info.fType = item.mark == MenuMark::Radio ? MFT_RADIOCHECK : MFT_STRING;
  // Greyed as AppendMenu greys: the keys still step onto the item.
  info.fState = (item.greyed && item.greyed(state) ? static_cast<UINT>(MF_GRAYED) : 0u) |
                (item.marked && item.marked(state) ? static_cast<UINT>(MF_CHECKED) : 0u);
  info.wID = IdOf(row);
  info.dwTypeData = const_cast<wchar_t*>(text.c_str());
  InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

}  // namespace

std::span<const ListMenuItem> ListMenuTable() { return Table(); }

const ListMenuItem* ShowListMenu(HWND owner, POINT at, const ListMenuState& state) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return nullptr;
  const auto table = ListMenuTable();
  for (std::size_t row = 0; row < table.size(); ++row) {
    const ListMenuItem& item = table[row];
    if (item.text && !item.command) {
      // The items marked as in the submenu that follow make it up.
      UniqueMenu submenu(CreatePopupMenu());
      if (!submenu) return nullptr;
      std::size_t inside = row + 1;
      for (; inside < table.size() && table[inside].inSubmenu; ++inside) {
        AppendItem(submenu.get(), table[inside], inside, state);
      }
      const std::wstring text = Gb18030ToWide(*item.text);
      if (AppendMenuW(menu.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(submenu.get()), text.c_str())) {
        submenu.release();
      }
      row = inside - 1;
      continue;
    }
    AppendItem(menu.get(), item, row, state);
  }
  const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, owner, nullptr));
  if (chosen == 0 || chosen > table.size() || !table[chosen - 1].command) return nullptr;
  return &table[chosen - 1];
}

}  // namespace tarnwell
