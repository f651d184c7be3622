#include "ui/result_list_menu_win.h"

#include <array>
#include <string>

#include "platform/gbk_literal.h"
#include "platform/gb18030_wide_win.h"
#include "ui/result_list_commands_win.h"

namespace tarnwell {
namespace {

using C = ResultListCommands;

// text, command, needs a selection, check item
const std::array<ListMenuItem, 11>& Table() {
  static const std::array<ListMenuItem, 11> table{{
      {&"打开(&O)"_gbk, &C::OpenCurrentRow, true, false},
      {&"打开所在文件夹(&F)"_gbk, &C::OpenRowFolder, true, false},
      {&"复制路径(&C)"_gbk, &C::CopySelectedPaths, true, false},
      {nullptr, nullptr, false, false},
      {&"勾选选中项"_gbk, &C::TickSelectedRows, true, false},
      {&"取消勾选选中项"_gbk, &C::UntickSelectedRows, true, false},
      {nullptr, nullptr, false, false},
      {&"名称统计(&S)..."_gbk, &C::NameStatistics, false, false},
      {&"导出结果列表(&E)..."_gbk, &C::ExportResults, false, false},
      {nullptr, nullptr, false, false},
      {&"删除时放入回收站"_gbk, &C::ToggleRecycleBin, false, true},
  }};
  return table;
}

// Menu item ids are the table's row number plus one (0 means no choice).
UINT IdOf(std::size_t row) { return static_cast<UINT>(row + 1); }

class OwnedMenu {
 public:
  OwnedMenu() : menu_(CreatePopupMenu()) {}
  OwnedMenu(const OwnedMenu&) = delete;
  OwnedMenu& operator=(const OwnedMenu&) = delete;
  ~OwnedMenu() {
    if (menu_) DestroyMenu(menu_);
  }
  HMENU get() const { return menu_; }

 private:
  HMENU menu_;
};

}  // namespace

std::span<const ListMenuItem> ListMenuTable() { return Table(); }

const ListMenuItem* ShowListMenu(HWND owner, POINT at, const ListMenuState& state) {
  OwnedMenu menu;
  if (!menu.get()) return nullptr;
  const auto table = ListMenuTable();
  for (std::size_t row = 0; row < table.size(); ++row) {
    const ListMenuItem& item = table[row];
    if (!item.text) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (item.needsSelection && !state.rowsSelected) flags |= MF_GRAYED;
    if (item.checkItem && state.recycleBinChosen) flags |= MF_CHECKED;
    const std::wstring text = Gb18030ToWide(*item.text);
    AppendMenuW(menu.get(), flags, IdOf(row), text.c_str());
  }
  const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
      menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, owner, nullptr));
  if (chosen == 0 || chosen > table.size() || !table[chosen - 1].command) return nullptr;
  return &table[chosen - 1];
}

}  // namespace tarnwell
