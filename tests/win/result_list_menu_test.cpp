// The result list's keys and context menu on the real window: Space over a
// selection, Ctrl+A, Enter, Ctrl+C and the clipboard, the menu's items with
// their greyed and checked states, each command, and the two CSV files
// (per-name statistics and the export of the list) byte for byte.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/text/gb18030_wide_win.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/popup_menu.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"
#include "ui/result_list_commands_win.h"
#include "ui/settings_file.h"

namespace tarnwell::testing {
namespace {

using testing_support::FileBytes;
using testing_support::MakeFolder;
using testing_support::PutFile;

// The real window, file system and clipboard; what the shell would open is
// recorded instead.
class TestHost : public WindowResultHost {
 public:
  using WindowResultHost::WindowResultHost;
  TextList opened;
  void ShellOpen(const Text& path) override { opened.push_back(path); }
};

class TestCommands : public ResultListCommands {
 public:
  using ResultListCommands::ResultListCommands;
  TextList openedFiles;
  TextList openedFolders;

 protected:
  void OpenFile(const Text& path) override { openedFiles.push_back(path); }
  void OpenFolderOf(const Text& path) override { openedFolders.push_back(path); }
};

// UTF-8 of a GBK text, through the system's own conversions.
std::string Utf8(const Text& gbk) {
  std::wstring wide(gbk.size() + 1, L'\0');
  wide.resize(static_cast<std::size_t>(
      MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), static_cast<int>(wide.size()))));
  std::string utf8(wide.size() * 4 + 1, '\0');
  utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                           utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                                           nullptr)));
  return utf8;
}

// A CSV field as RFC 4180 writes it.
std::string Field(const std::string& utf8) {
  if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
  std::string quoted = "\"";
  for (char c : utf8) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

const std::string kBom = "\xEF\xBB\xBF";

class ListMenu : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    host = std::make_unique<TestHost>(program->Window(), programFolder.path());
    commands = std::make_unique<TestCommands>(program->Window(), *host,
                                              [this] { return program->Searches().LastSearchRules(); });
    ConnectListCommands(program->Window().Events(), *commands);
  }
  void TearDown() override {
    ProgramFixture::TearDown();
    commands.reset();
    host.reset();
  }

  HWND List() { return C(Control::ResultView); }
  // Rows 0 .. count-1: files f0.txt ... in the tree.
  void MakeRows(int count) {
    for (int i = 0; i < count; ++i) {
      Text path = tree / ("f" + std::to_string(i) + ".txt");
      PutFile(path, std::string(static_cast<std::size_t>(i) * 3, 'x'));
      AppendPath(Rows(), path);
    }
    ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(List()) == Rows().RowCount(); }));
    SetFocus(List());
  }
  void Select(std::initializer_list<int> rows, int focused) {
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int row : rows) ListView_SetItemState(List(), row, LVIS_SELECTED, LVIS_SELECTED);
    if (focused >= 0) ListView_SetItemState(List(), focused, LVIS_FOCUSED, LVIS_FOCUSED);
  }
  std::vector<int> Ticked() {
    std::vector<int> ticked;
    for (int row = 0; row < Rows().RowCount(); ++row) {
      if (Rows().IsChecked(row)) ticked.push_back(row);
    }
    return ticked;
  }
  void Key(WORD key, std::initializer_list<BYTE> held = {}) { PostKeyHolding(List(), key, held); }
  // Opens the menu with Shift+F10 and chooses the item at `position`
  // (separators counted; -1 closes it); returns what it showed.
  MenuSeen Menu(int position) {
    auto answer = AnswerPopupMenu(GetCurrentThreadId(), position);
    Key(VK_F10, {VK_SHIFT});
    return answer.get();
  }
  Text ConfigFile() { return FileBytes(programFolder / "config.ini"); }

  std::unique_ptr<TestHost> host;
  std::unique_ptr<TestCommands> commands;
};

// Positions in the menu, separators counted.
enum MenuPosition {
  kOpen = 0,
  kOpenFolder = 1,
  kCopyPaths = 2,
  kTick = 4,
  kUntick = 5,
  kStatistics = 7,
  kExport = 8,
  kRecycleBin = 10,
  kSameName = 11,
  kVerifyCopies = 12,
  kUndo = 14,
  kOpenRecord = 15,
  kProblems = 16,
};

// Positions in the 同名文件 submenu.
enum SubmenuPosition { kReplace = 0, kSkip = 1, kRename = 2, kKeepFolders = 4 };

TEST_F(ListMenu, SpaceTicksTheSelectionAsTheFocusedRowDecides) {
  MakeRows(10);
  Select({2, 3, 5}, 3);
  Key(VK_SPACE);
  EXPECT_EQ(Ticked(), (std::vector<int>{2, 3, 5}));
  Key(VK_SPACE);
  EXPECT_EQ(Ticked(), std::vector<int>{});

  // The focused row ticked, others not: all of them become unticked.
  Rows().SetChecked(3, true);
  Rows().SetChecked(5, false);
  Rows().SetChecked(8, true);
  Key(VK_SPACE);
  EXPECT_EQ(Ticked(), std::vector<int>{8});
  // The focused row unticked: all of them become ticked, rows already ticked stay so.
  Rows().SetChecked(2, true);
  Key(VK_SPACE);
  EXPECT_EQ(Ticked(), (std::vector<int>{2, 3, 5, 8}));

  // A focused row outside the selection is toggled alone.
  Select({2, 3}, 6);
  Key(VK_SPACE);
  EXPECT_EQ(Ticked(), (std::vector<int>{2, 3, 5, 6, 8}));

  // Ctrl+A selects every row; Space then unticks them all (the focused row is ticked).
  Select({6}, 6);
  Key('A', {VK_CONTROL});
  EXPECT_EQ(ListView_GetSelectedCount(List()), 10u);
  Key(VK_SPACE);
  EXPECT_EQ(Ticked(), std::vector<int>{});
  Key(VK_SPACE);
  EXPECT_EQ(Ticked().size(), 10u);
  // The control shows the new boxes.
  EXPECT_EQ(ListView_GetItemState(List(), 9, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  // Ctrl+Space and Shift+Space are the list's own selection keys, not ticks.
  Key(VK_SPACE, {VK_CONTROL});
  Key(VK_SPACE, {VK_SHIFT});
  EXPECT_EQ(Ticked().size(), 10u);
}

TEST_F(ListMenu, EnterOpensTheCurrentRowAndCtrlCCopiesTheSelectedPaths) {
  MakeRows(6);
  SetClipboardTextForTest(L"earlier");
  Key(VK_RETURN);
  Key('C', {VK_CONTROL});
  EXPECT_TRUE(commands->openedFiles.empty()) << "no row selected: nothing opens";
  EXPECT_EQ(ClipboardText(), L"earlier") << "no row selected: the clipboard keeps its text";

  Select({4, 1, 2}, 4);
  Key(VK_RETURN);
  EXPECT_EQ(commands->openedFiles, TextList{tree / "f1.txt"});
  Key('C', {VK_CONTROL});
  EXPECT_EQ(ClipboardText(), Gb18030ToWide(Concat(tree / "f1.txt", "\r\n", tree / "f2.txt", "\r\n", tree / "f4.txt")));

  // Chinese paths cross as Unicode text.
  const Text chinese = tree / G("照片 一.jpg");
  PutFile(chinese, "x");
  AppendPath(Rows(), chinese);
  ASSERT_TRUE(PumpUntil([&] { return ListView_GetItemCount(List()) == 7; }));
  Key('A', {VK_CONTROL});
  Key('C', {VK_CONTROL});
  std::wstring expected;
  for (int row = 0; row < 7; ++row) expected += (row ? L"\r\n" : L"") + Gb18030ToWide(Rows().RowText(row));
  EXPECT_EQ(ClipboardText(), expected);
  EXPECT_NE(ClipboardText().find(Wide("照片 一.jpg")), std::wstring::npos);
}

TEST_F(ListMenu, ItemsInOrderGreyedWithoutASelectionOnEveryWayIn) {
  const std::vector<std::string> texts = {"打开(&O)", "打开所在文件夹(&F)", "复制路径(&C)", "", "勾选选中项",
                                          "取消勾选选中项", "", "名称统计(&S)...", "导出结果列表(&E)...", "",
                                          "删除时放入回收站", "同名文件", "复制后校验", "", "撤销上次移动",
                                          "打开操作记录", "问题列表(&P)...", "", "缩略图(&T)...\tCtrl+T"};
  auto check = [&](const MenuSeen& seen, bool selection, const char* when) {
    ASSERT_TRUE(seen.shown) << when;
    ASSERT_EQ(seen.items.size(), texts.size()) << when;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      EXPECT_EQ(seen.items[i].separator, texts[i].empty()) << when << ", item " << i;
      EXPECT_EQ(seen.items[i].text, Wide(texts[i])) << when << ", item " << i;
      if (texts[i].empty()) continue;
      const bool needsSelection = i <= kUntick;
      // Nothing to take back before a move, and no problem before a search or a batch.
      EXPECT_EQ(seen.items[i].greyed, (needsSelection && !selection) || i == kUndo || i == kProblems)
          << when << ", item " << i;
      EXPECT_FALSE(seen.items[i].checked) << when << ", item " << i;
      EXPECT_EQ(seen.items[i].submenu.size(), i == kSameName ? 5u : 0u) << when << ", item " << i;
    }
  };
  SetFocus(List());
  check(Menu(-1), false, "an empty list");
  MakeRows(3);
  check(Menu(-1), false, "rows, none selected");
  Select({1}, 1);
  check(Menu(-1), true, "a row selected");

  // The menu key and a right click on a row open it too; the click selects the row.
  auto answer = AnswerPopupMenu(GetCurrentThreadId(), -1);
  Key(VK_APPS);
  check(answer.get(), true, "the menu key");
  Select({}, -1);
  RECT row{};
  row.left = LVIR_LABEL;
  SendMessageW(List(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
  answer = AnswerPopupMenu(GetCurrentThreadId(), -1);
  PostMessageW(List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(row.left + 10, (row.top + row.bottom) / 2));
  PostMessageW(List(), WM_RBUTTONUP, 0, MAKELPARAM(row.left + 10, (row.top + row.bottom) / 2));
  PumpUntil([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 8000);
  check(answer.get(), true, "a right click");
  EXPECT_EQ(GetSelectedRow(List()), 2);
}

// 删除时放入回收站 and 复制后校验 show their keys in config.ini and write them at once.
TEST_F(ListMenu, CheckItemsShowAndToggleTheirSettings) {
  const std::pair<int, const char*> items[] = {{kRecycleBin, "回收站"}, {kVerifyCopies, "复制后校验"}};
  for (const auto& [item, key] : items) {
    SCOPED_TRACE(key);
    const Text line = Concat(G(key), "=");
    PutFile(programFolder / "config.ini", G("[zhuce]\r\n精确=假\r\n"));
    MenuSeen seen = Menu(item);
    EXPECT_FALSE(seen.items.at(item).checked);
    EXPECT_FALSE(seen.items.at(item).greyed);
    EXPECT_EQ(ConfigFile(), Concat(G("[zhuce]\r\n精确=假\r\n"), line, G("真\r\n")));
    seen = Menu(item);
    EXPECT_TRUE(seen.items.at(item).checked);
    EXPECT_EQ(ConfigFile(), Concat(G("[zhuce]\r\n精确=假\r\n"), line, G("假\r\n")));
    EXPECT_FALSE(Menu(-1).items.at(item).checked);
    // Only exactly "真" counts as chosen.
    PutFile(programFolder / "config.ini", Concat(G("[zhuce]\r\n"), line, "1\r\n"));
    EXPECT_FALSE(Menu(-1).items.at(item).checked);
    PutFile(programFolder / "config.ini", Concat(G("[zhuce]\r\n"), line, G("真\r\n")));
    EXPECT_TRUE(Menu(-1).items.at(item).checked);
  }
}

// The 同名文件 submenu: its radio items and the check item show config.ini's
// 同名文件 and 保持结构 and write them at once.
TEST_F(ListMenu, SameNameSubmenuShowsAndStoresTheChoices) {
  PutFile(programFolder / "config.ini", G("[zhuce]\r\n精确=假\r\n"));
  const std::vector<std::string> texts = {"替换", "跳过", "保留两者 (自动改名)", "", "保持原文件夹结构"};
  // The marks the submenu shows: the rule's radio item, and the check of 保持结构.
  auto marks = [&](const MenuSeen& seen) {
    std::string shown;
    const auto& items = seen.items.at(kSameName).submenu;
    EXPECT_EQ(items.size(), texts.size());
    for (std::size_t i = 0; i < items.size() && i < texts.size(); ++i) {
      EXPECT_EQ(items[i].text, Wide(texts[i])) << i;
      EXPECT_EQ(items[i].separator, texts[i].empty()) << i;
      if (!items[i].separator) {
        EXPECT_FALSE(items[i].greyed) << i;
      }
      shown += items[i].checked ? "x" : "-";
    }
    return shown;
  };
  auto choose = [&](int inside) {
    auto answer = AnswerPopupMenu(GetCurrentThreadId(), kSameName, 5000, inside);
    Key(VK_F10, {VK_SHIFT});
    return answer.get();
  };
  EXPECT_EQ(marks(choose(kSkip)), "x----");  // no key: 替换
  EXPECT_EQ(ConfigFile(), G("[zhuce]\r\n精确=假\r\n同名文件=跳过\r\n"));
  EXPECT_EQ(marks(choose(kRename)), "-x---");
  EXPECT_EQ(ConfigFile(), G("[zhuce]\r\n精确=假\r\n同名文件=改名\r\n"));
  EXPECT_EQ(marks(choose(kKeepFolders)), "--x--");
  EXPECT_EQ(ConfigFile(), G("[zhuce]\r\n精确=假\r\n同名文件=改名\r\n保持结构=真\r\n"));
  EXPECT_EQ(marks(choose(kReplace)), "--x-x");
  EXPECT_EQ(ConfigFile(), G("[zhuce]\r\n精确=假\r\n同名文件=替换\r\n保持结构=真\r\n"));
  EXPECT_EQ(marks(choose(kKeepFolders)), "x---x");
  EXPECT_EQ(ConfigFile(), G("[zhuce]\r\n精确=假\r\n同名文件=替换\r\n保持结构=假\r\n"));
  // A value the program does not write counts as 替换.
  PutFile(programFolder / "config.ini", G("[zhuce]\r\n同名文件=改\r\n保持结构=1\r\n"));
  EXPECT_EQ(marks(Menu(-1)), "x----");
}

TEST_F(ListMenu, OpenOperationRecordOpensTheRecordOnceThereIsOne) {
  auto answer = AnswerNextBox(IDOK);
  Menu(kOpenRecord);
  AnsweredBox box = answer.get();
  EXPECT_EQ(box.text, G("还没有操作记录！"));
  EXPECT_EQ(box.caption, G("信息："));
  EXPECT_TRUE(host->opened.empty());
  const Text record = programFolder / G("操作记录.csv");
  PutFile(record, "\xEF\xBB\xBF");
  Menu(kOpenRecord);
  EXPECT_EQ(host->opened, TextList{record});
}

TEST_F(ListMenu, CommandsActOnTheSelection) {
  MakeRows(5);
  Select({3, 1}, 3);
  Menu(kTick);
  EXPECT_EQ(Ticked(), (std::vector<int>{1, 3}));
  Select({0, 1, 2}, 0);
  Menu(kTick);
  EXPECT_EQ(Ticked(), (std::vector<int>{0, 1, 2, 3}));
  Select({2, 3, 4}, 4);
  Menu(kUntick);
  EXPECT_EQ(Ticked(), (std::vector<int>{0, 1}));

  Menu(kOpen);
  EXPECT_EQ(commands->openedFiles, TextList{tree / "f2.txt"});
  Menu(kOpenFolder);
  EXPECT_EQ(commands->openedFolders, TextList{tree / "f2.txt"});
  Menu(kCopyPaths);
  EXPECT_EQ(ClipboardText(), Gb18030ToWide(Concat(tree / "f2.txt", "\r\n", tree / "f3.txt", "\r\n", tree / "f4.txt")));

  // Without a selection the greyed items do nothing.
  Select({}, -1);
  SetClipboardTextForTest(L"kept");
  for (int position : {kOpen, kOpenFolder, kCopyPaths, kTick, kUntick}) Menu(position);
  EXPECT_EQ(Ticked(), (std::vector<int>{0, 1}));
  EXPECT_EQ(commands->openedFiles.size(), 1u);
  EXPECT_EQ(commands->openedFolders.size(), 1u);
  EXPECT_EQ(ClipboardText(), L"kept");
}

// The names box's lines after the search's rebuild, against the rows the
// list holds now, in the mode the last search ran with.
TEST_F(ListMenu, StatisticsCountTheBoxLinesOverTheCurrentRows) {
  MakeFolder(tree / "sub");
  for (const char* name : {"a.txt", "sub\\a.jpg", "ab.txt", "照片.png", "x,y.doc", "b.txt"}) PutFile(tree / G(name), "1");
  SearchFor("a\r\n\r\n照片\r\nab\r\nx,y\r\n", tree.path());
  ASSERT_TRUE(WaitForCompletion());
  ASSERT_EQ(Rows().RowCount(), 5);
  auto rowOf = [&](const char* name) {
    for (int row = 0; row < Rows().RowCount(); ++row) {
      if (Rows().RowText(row) == tree / G(name)) return row;
    }
    ADD_FAILURE() << name << " is no row";
    return -1;
  };
  // The rows now: one removed, and the box edited since the search (a blank
  // line and a new name); fuzzy is clicked but no search ran with it.
  RemoveRowAt(Rows(), rowOf("ab.txt"));
  SetContent(C(Control::NamesBox), G("a\r\n照片\r\n \r\nab\r\nx,y\r\nnew\r\na"));
  Click(Control::FuzzyRadio);
  const int firstA = std::min(rowOf("a.txt"), rowOf("sub\\a.jpg"));

  Menu(kStatistics);
  const Text file = programFolder / G("名称统计.csv");
  const std::string header = Utf8(G("名称,找到的文件数,第一个文件")) + "\r\n";
  auto line = [&](const char* name, int count, const Text& path) {
    return Field(name) + "," + std::to_string(count) + "," + Field(Utf8(path)) + "\r\n";
  };
  const Text pathA = Rows().RowText(firstA);
  EXPECT_EQ(FileBytes(file), kBom + header + line("a", 2, pathA) + line("照片", 1, tree / G("照片.png")) +
                                 line("ab", 0, "") + line("x,y", 1, tree / "x,y.doc") + line("new", 0, "") +
                                 line("a", 2, pathA));
  EXPECT_EQ(host->opened, TextList{file});

  // Fuzzy from the next search on: "a" then matches every row holding it.
  SearchFor("a", tree.path(), true);
  ASSERT_TRUE(WaitForCompletion());
  SetContent(C(Control::NamesBox), "a\r\nb");
  Menu(kStatistics);
  const std::string bytes = FileBytes(file);
  EXPECT_NE(bytes.find("\r\na,3,"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("\r\nb,1,"), std::string::npos) << bytes;
}

std::string ExpectedFacts(const Text& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(testing_support::LongForm(path).c_str(), GetFileExInfoStandard, &data)) return ",";
  SYSTEMTIME utc{}, local{};
  FileTimeToSystemTime(&data.ftLastWriteTime, &utc);
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
  char text[64];
  std::snprintf(text, sizeof text, "%llu,%04u-%02u-%02u %02u:%02u:%02u",
                (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow, local.wYear,
                local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond);
  return text;
}

TEST_F(ListMenu, ExportHoldsEveryRowWithSizeTimeAndTick) {
  // An empty list gives the header alone.
  Menu(kExport);
  const Text file = programFolder / G("搜索结果.csv");
  const std::string header = Utf8(G("文件路径,文件名,所在文件夹,大小,修改时间,勾选,匹配名称")) + "\r\n";
  EXPECT_EQ(FileBytes(file), kBom + header);

  MakeFolder(tree / G("照片,一"));
  const TextList paths = {tree / "big.bin", tree / G("照片,一\\图.jpg"), tree / "gone.txt", tree / "big.bin"};
  PutFile(paths[0], std::string(70000, 'b'));
  PutFile(paths[1], "photo");
  PutFile(paths[2], "soon gone");
  for (const Text& path : paths) AppendPath(Rows(), path);
  DeleteFileW(testing_support::LongForm(paths[2]).c_str());
  Rows().SetChecked(1, true);
  Rows().SetChecked(3, true);

  Menu(kExport);
  std::string expected = kBom + header;
  for (std::size_t row = 0; row < paths.size(); ++row) {
    const Text& path = paths[row];
    const std::size_t cut = path.rfind('\\');
    expected += Field(Utf8(path)) + "," + Field(Utf8(path.substr(cut + 1))) + "," + Field(Utf8(path.substr(0, cut))) +
                "," + ExpectedFacts(path) + "," + (row % 2 ? Utf8(G("是")) : Utf8(G("否"))) + ",\r\n";
  }
  EXPECT_EQ(FileBytes(file), expected);
  EXPECT_NE(expected.find(",70000,"), std::string::npos);
  EXPECT_NE(expected.find(",,," + Utf8(G("否"))), std::string::npos);  // the file gone
  EXPECT_EQ(host->opened, (TextList{file, file}));
}

// The names box's first line that finds each row, under the rules of the
// last search: its mode and its number rule (taken when it started, so a
// change of the choice since then changes nothing), in the export's last
// column and in the statistics.
TEST_F(ListMenu, ExportAndStatisticsNameTheFirstMatchingLineUnderTheLastSearchsRules) {
  for (const char* name : {"IMG_0012.JPG", "IMG_0120.JPG", "DSC00012.ARW", "x.txt"}) PutFile(tree / name, "1");
  auto matchedNames = [&] {
    Menu(kExport);
    std::vector<std::string> last;
    std::string bytes = FileBytes(programFolder / G("搜索结果.csv"));
    for (std::size_t end = bytes.find("\r\n"), start = 0; end != std::string::npos;
         start = end + 2, end = bytes.find("\r\n", start)) {
      const std::string line = bytes.substr(start, end - start);
      last.push_back(line.substr(line.rfind(',') + 1));
    }
    return std::vector<std::string>(last.begin() + 1, last.end());  // after the header
  };
  auto rowNames = [&] {
    std::vector<std::string> names;
    for (int row = 0; row < Rows().RowCount(); ++row) names.push_back(Rows().RowFileName(row));
    return names;
  };
  WriteSetting(programFolder.path(), G("编号匹配"), G("真"));
  SearchFor("IMG\r\n12\r\n0012", tree.path(), true);
  ASSERT_TRUE(WaitForCompletion());
  // Fuzzy "IMG" finds both IMG files; "12" and "0012" by number find 0012 twice.
  ASSERT_EQ(Rows().RowCount(), 2 + 2 + 2);
  WriteSetting(programFolder.path(), G("编号匹配"), G("假"));  // after the search: no say in its rules
  std::vector<std::string> expected;
  for (const std::string& name : rowNames()) {
    expected.push_back(name.rfind("IMG", 0) == 0 ? "IMG" : "12");
  }
  EXPECT_EQ(matchedNames(), expected);
  Menu(kStatistics);
  const std::string statistics = FileBytes(programFolder / G("名称统计.csv"));
  EXPECT_NE(statistics.find("\r\nIMG,4,"), std::string::npos) << statistics;  // IMG_0012 is a row three times
  EXPECT_NE(statistics.find("\r\n12,5,"), std::string::npos) << statistics;
  EXPECT_NE(statistics.find("\r\n0012,5,"), std::string::npos) << statistics;

  // Lines edited since: the first that still finds a row, empty for none.
  SetContent(C(Control::NamesBox), "0012\r\nnone");
  expected.clear();
  for (const std::string& name : rowNames()) expected.push_back(name == "IMG_0120.JPG" ? "" : "0012");
  EXPECT_EQ(matchedNames(), expected);

  // The next search runs without the rule: "12" is a name as typed.
  SearchFor("12", tree.path(), true);
  ASSERT_TRUE(WaitForCompletion());
  EXPECT_EQ(matchedNames(), std::vector<std::string>(3, "12"));
}

TEST_F(ListMenu, UnwritableFilesAreToldAndNothingOpens) {
  MakeRows(2);
  SetContent(C(Control::NamesBox), "f1");
  MakeFolder(programFolder / G("名称统计.csv"));  // folders where the files should go
  MakeFolder(programFolder / G("搜索结果.csv"));
  auto answer = AnswerNextBox(IDOK);
  commands->NameStatistics();
  AnsweredBox box = answer.get();
  EXPECT_EQ(box.text, G("名称统计写入失败！"));
  EXPECT_EQ(box.caption, G("信息："));
  answer = AnswerNextBox(IDOK);
  commands->ExportResults();
  box = answer.get();
  EXPECT_EQ(box.text, G("搜索结果写入失败！"));
  EXPECT_EQ(box.caption, G("信息："));
  EXPECT_TRUE(host->opened.empty());
}

}  // namespace
}  // namespace tarnwell::testing
