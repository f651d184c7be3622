// Delete, copy, move and undo on the real window and real files, as the
// window runs them: files that stay keep their rows and ticks and are
// counted, the same-name rules and the kept folders put every byte where
// they say, the operation record holds one line per file acted on, the undo
// takes back only what is still there and free, the completion timer stops
// after a whole-computer search, and a batch runs alone.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

#include "platform/text/gb18030_wide_win.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/answering_host.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"
#include "ui/batch_commands_win.h"
#include "ui/settings_file.h"

namespace tarnwell::testing {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::FolderNames;
using testing_support::HeldFile;
using testing_support::IsFolder;
using testing_support::LongForm;
using testing_support::MakeFolder;
using testing_support::PutFile;

// Lists no folder at all: a whole-computer search that ends at once.
class EmptyLister final : public DirectoryLister {
 public:
  ListingOutcome List(const Text&, DirectoryListing& listing) const override {
    listing.Clear();
    return ListingOutcome::Listed;
  }
};

// UTF-8 through the system's own conversion.
std::string Utf8(const std::wstring& wide) {
  std::string utf8(wide.size() * 4 + 1, '\0');
  utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                           utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                                           nullptr)));
  return utf8;
}
std::string Utf8(const Text& gbk) { return Utf8(Gb18030ToWide(gbk)); }

// The system's text for an error code, without its line break.
std::string SystemText(DWORD code) {
  wchar_t text[512]{};
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                512, nullptr);
  std::wstring message(text, length);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.pop_back();
  }
  return Utf8(message);
}

std::string Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
                now.wMinute, now.wSecond);
  return text;
}

// Every file below `folder`, by its path below it, with its bytes.
std::map<Text, std::string> FilesBelow(const Text& folder, const Text& prefix = Text()) {
  std::map<Text, std::string> files;
  for (const Text& name : FolderNames(folder)) {
    const Text path = Concat(folder, "\\", name);
    const Text relative = prefix.empty() ? name : Concat(prefix, "\\", name);
    if (IsFolder(path)) {
      files.merge(FilesBelow(path, relative));
    } else {
      files[relative] = FileBytes(path);
    }
  }
  return files;
}

class BatchOutcomes : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    host = std::make_unique<AnsweringHost>(program->Window(), programFolder.path());
    commands = std::make_unique<BatchCommands>(program->Window(), *host, program->Searches(), programFolder.path());
  }
  void TearDown() override {
    commands.reset();
    host.reset();
    ProgramFixture::TearDown();
  }
  // A search below `root` for the names, until its completion.
  void SearchBelow(const char* names, const Text& root) {
    SearchFor(names, root);
    ASSERT_TRUE(WaitForCompletion());
  }
  Text RecordPath() { return programFolder / G("操作记录.csv"); }
  // The record's lines after its header, each without its time; every time
  // must lie between `from` and now.
  std::vector<std::string> RecordLines(const std::string& from) {
    const std::string bytes = FileBytes(RecordPath());
    const std::string header = "\xEF\xBB\xBF" + Utf8(G("时间,操作,源路径,目标路径,结果")) + "\r\n";
    EXPECT_EQ(bytes.substr(0, header.size()), header);
    std::vector<std::string> lines;
    const std::string to = Now();
    for (std::size_t at = header.size(); at < bytes.size();) {
      std::size_t end = bytes.find("\r\n", at);
      if (end == std::string::npos) {
        ADD_FAILURE() << "a line without its CR LF: " << bytes.substr(at);
        break;
      }
      const std::string line = bytes.substr(at, end - at);
      const std::string time = line.substr(0, 19);
      EXPECT_TRUE(time >= from && time <= to && line.size() > 20 && line[19] == ',') << line;
      lines.push_back(line.substr(20));
      at = end + 2;
    }
    return lines;
  }

  std::unique_ptr<AnsweringHost> host;
  std::unique_ptr<BatchCommands> commands;
};

// The delete button on the program's own window: a read-only and a held
// file stay on disk with their rows and ticks, the box says how many, and
// the record tells each file's outcome in the system's words.
TEST_F(BatchOutcomes, DeleteKeepsTheRowsAndTicksOfReadOnlyAndHeldFiles) {
  MakeFolder(tree / "src");
  for (int i = 0; i < 4; ++i) PutFile(tree / ("src\\f" + std::to_string(i) + ".bin"), "bytes of " + std::to_string(i));
  SearchBelow("f0\r\nf1\r\nf2\r\nf3", tree / "src");
  ASSERT_EQ(Rows().RowCount(), 4);
  Click(Control::CheckAllButton);
  const Text readOnly = tree / "src\\f1.bin";
  const Text held = tree / "src\\f2.bin";
  SetFileAttributesW(LongForm(readOnly).c_str(), FILE_ATTRIBUTE_READONLY);
  HeldFile holder(held);
  ASSERT_TRUE(holder.ok());
  const std::string from = Now();

  auto answers = AnswerBoxes(2);
  Click(Control::DeleteButton);
  const std::vector<AnsweredBox> boxes = answers.get();
  holder.Release();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].text, G("有2个文件未能删除，已保留在列表中并保持勾选。"));
  EXPECT_EQ(boxes[1].caption, G("信息："));
  EXPECT_EQ(Status(), G("删除完毕！"));
  EXPECT_FALSE(Exists(tree / "src\\f0.bin"));
  EXPECT_FALSE(Exists(tree / "src\\f3.bin"));
  EXPECT_EQ(FileBytes(readOnly), "bytes of 1");
  EXPECT_EQ(FileBytes(held), "bytes of 2");
  TextList left;
  for (int row = 0; row < Rows().RowCount(); ++row) {
    left.push_back(Rows().RowText(row));
    EXPECT_TRUE(Rows().IsChecked(row)) << row;
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (TextList{readOnly, held}));

  // One line per file, in the order deleted, each against what the disk holds now.
  std::vector<std::string> expected;
  for (int row = 0; row < 4; ++row) {
    const Text path = tree / ("src\\f" + std::to_string(row) + ".bin");
    std::string outcome = Utf8(G("成功"));
    if (path == readOnly) outcome = Utf8(G("失败：")) + SystemText(ERROR_ACCESS_DENIED);
    if (path == held) outcome = Utf8(G("失败：")) + SystemText(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(Exists(path), outcome != Utf8(G("成功"))) << path;
    expected.push_back(Utf8(G("删除")) + "," + Utf8(path) + ",," + outcome);
  }
  std::vector<std::string> lines = RecordLines(from);
  std::sort(lines.begin(), lines.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(lines, expected);
  SetFileAttributesW(LongForm(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Two rows named IMG.JPG and one of that name already in the target, under
// every rule, copied and moved: every byte of every file below the case's
// folder afterwards.
TEST_F(BatchOutcomes, SameNameRulesAndKeptFoldersPutEveryByteWhereTheySay) {
  struct Case {
    const char* rule;  // config.ini's 同名文件
    bool keepFolders;
    bool move;
    // The files below the case's folder: {relative path, bytes}; "#0" and
    // "#1" stand for the bytes of the first and the second row's file.
    std::vector<std::pair<const char*, const char*>> after;
    const char* box;  // the end's box, or null
  };
  const std::vector<Case> cases = {
      {"替换", false, false, {{"out\\IMG.JPG", "#1"}, {"src\\a\\IMG.JPG", "a"}, {"src\\b\\IMG.JPG", "b"}}, nullptr},
      {"替换", false, true, {{"out\\IMG.JPG", "#0"}, {"src\\#1", "#1"}}, "有1个文件未能移动。"},
      {"跳过", false, false, {{"out\\IMG.JPG", "old"}, {"src\\a\\IMG.JPG", "a"}, {"src\\b\\IMG.JPG", "b"}}, nullptr},
      {"跳过", false, true, {{"out\\IMG.JPG", "old"}, {"src\\a\\IMG.JPG", "a"}, {"src\\b\\IMG.JPG", "b"}}, nullptr},
      {"改名",
       false,
       false,
       {{"out\\IMG (2).JPG", "#0"},
        {"out\\IMG (3).JPG", "#1"},
        {"out\\IMG.JPG", "old"},
        {"src\\a\\IMG.JPG", "a"},
        {"src\\b\\IMG.JPG", "b"}},
       nullptr},
      {"改名", false, true, {{"out\\IMG (2).JPG", "#0"}, {"out\\IMG (3).JPG", "#1"}, {"out\\IMG.JPG", "old"}}, nullptr},
      {"替换",
       true,
       false,
       {{"out\\IMG.JPG", "old"},
        {"out\\a\\IMG.JPG", "a"},
        {"out\\b\\IMG.JPG", "b"},
        {"src\\a\\IMG.JPG", "a"},
        {"src\\b\\IMG.JPG", "b"}},
       nullptr},
      {"改名",
       true,
       true,
       {{"out\\IMG.JPG", "old"}, {"out\\a\\IMG (2).JPG", "a"}, {"out\\a\\IMG.JPG", "old a"}, {"out\\b\\IMG.JPG", "b"}},
       nullptr},
  };
  int number = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(Concat(c.rule, c.keepFolders ? " keep" : "", c.move ? " move" : " copy"));
    const Text folder = tree / ("case" + std::to_string(number++));
    for (const char* sub : {"", "\\src", "\\src\\a", "\\src\\b", "\\out"}) MakeFolder(Concat(folder, sub));
    PutFile(Concat(folder, "\\src\\a\\IMG.JPG"), "a");
    PutFile(Concat(folder, "\\src\\b\\IMG.JPG"), "b");
    PutFile(Concat(folder, "\\out\\IMG.JPG"), "old");
    if (c.keepFolders) {
      MakeFolder(Concat(folder, "\\out\\a"));
      if (c.move) PutFile(Concat(folder, "\\out\\a\\IMG.JPG"), "old a");
    }
    WriteSetting(programFolder.path(), G("同名文件"), G(c.rule));
    WriteSetting(programFolder.path(), G("保持结构"), c.keepFolders ? G("真") : G("假"));
    ASSERT_NO_FATAL_FAILURE(SearchBelow("IMG", Concat(folder, "\\src")));
    ASSERT_EQ(Rows().RowCount(), 2);
    Click(Control::CheckAllButton);
    // The rows come in the walk's order, which the file system decides.
    const std::string first = FileBytes(Rows().RowText(0));
    const std::string second = FileBytes(Rows().RowText(1));
    const Text secondFolder = Rows().RowText(1).substr(folder.size() + 5, 1);  // "a" or "b"
    host->folderChoice = Concat(folder, "\\out");
    if (c.move) {
      commands->Move();
    } else {
      commands->Copy();
    }
    EXPECT_EQ(Status(), c.move ? G("移动完毕！") : G("复制完毕！"));
    std::map<Text, std::string> expected;
    for (const auto& [path, bytes] : c.after) {
      Text where = path;
      if (where == "src\\#1") where = Concat("src\\", secondFolder, "\\IMG.JPG");
      const std::string content = std::string(bytes) == "#0" ? first : std::string(bytes) == "#1" ? second : bytes;
      expected[G(where.c_str())] = content;
    }
    EXPECT_EQ(FilesBelow(folder), expected);
    EXPECT_EQ(host->TakeShown(), c.box ? TextList{G(c.box)} : TextList{});
  }
}

// The undo takes back what is still the file moved and whose old path is
// free; the others stay where they are, and the box counts both. The menu
// greys it when there is nothing (more) to take back.
TEST_F(BatchOutcomes, UndoTakesBackOnlyWhatIsStillThereAndFree) {
  MakeFolder(tree / "src");
  MakeFolder(tree / "out");
  auto source = [&](int i) { return tree / ("src\\f" + std::to_string(i) + ".bin"); };
  auto sent = [&](int i) { return tree / ("out\\f" + std::to_string(i) + ".bin"); };
  for (int i = 0; i < 5; ++i) {
    PutFile(source(i), "moved " + std::to_string(i));
    AppendPath(Rows(), source(i));
  }
  Rows().SetAllChecked(true);
  EXPECT_FALSE(commands->CanUndo());
  host->folderChoice = tree / "out";
  commands->Move();
  ASSERT_TRUE(commands->CanUndo());
  for (int i = 0; i < 5; ++i) ASSERT_FALSE(Exists(source(i))) << i;

  // f1: another file now, of the same size, put over it; f2: its old path
  // taken; f3: gone; f4: changed in place, still the file moved.
  PutFile(tree / "other.bin", "other 1");
  ASSERT_TRUE(MoveFileExW(LongForm(tree / "other.bin").c_str(), LongForm(sent(1)).c_str(), MOVEFILE_REPLACE_EXISTING));
  PutFile(source(2), "new at the old path");
  DeleteFileW(LongForm(sent(3)).c_str());
  PutFile(sent(4), "edited after the move");
  const std::string from = Now();

  commands->UndoLastMove();
  EXPECT_EQ(host->TakeShown(), TextList{G("已移回2个文件，3个文件未能移回。")});
  EXPECT_EQ(FileBytes(source(0)), "moved 0");
  EXPECT_FALSE(Exists(sent(0)));
  EXPECT_EQ(FileBytes(sent(1)), "other 1");
  EXPECT_FALSE(Exists(source(1)));
  EXPECT_EQ(FileBytes(sent(2)), "moved 2");
  EXPECT_EQ(FileBytes(source(2)), "new at the old path");
  EXPECT_FALSE(Exists(source(3)));
  EXPECT_EQ(FileBytes(source(4)), "edited after the move");
  EXPECT_FALSE(Exists(sent(4)));
  EXPECT_EQ(Rows().RowCount(), 5);
  EXPECT_EQ(Rows().RowText(0), source(0));
  EXPECT_FALSE(commands->CanUndo());
  commands->UndoLastMove();  // nothing more to take back
  EXPECT_EQ(host->TakeShown(), TextList{});

  // The record: the move's five lines, then the undo's, last moved first.
  const std::vector<std::string> lines = RecordLines(from.substr(0, 10));
  ASSERT_EQ(lines.size(), 10u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(lines[static_cast<std::size_t>(i)],
              Utf8(G("移动")) + "," + Utf8(source(i)) + "," + Utf8(sent(i)) + "," + Utf8(G("成功")));
  }
  for (int i = 4; i >= 0; --i) {
    const std::string& line = lines[static_cast<std::size_t>(9 - i)];
    const std::string start = Utf8(G("撤销移动")) + "," + Utf8(sent(i)) + "," + Utf8(source(i)) + ",";
    EXPECT_EQ(line.substr(0, start.size()), start) << line;
    const std::string outcome = line.substr(std::min(start.size(), line.size()));
    EXPECT_EQ(outcome == Utf8(G("成功")), i == 0 || i == 4) << line;
    EXPECT_EQ(outcome.rfind(Utf8(G("失败：")), 0) == 0, i == 1 || i == 2 || i == 3) << line;
  }
}

// After a whole-computer search has shown its completion, the timer is
// stopped: no tick holds a later batch, and the batch's end text stays.
TEST_F(BatchOutcomes, NoCompletionTickAfterAWholeComputerSearchHasEnded) {
  EmptyLister lister;
  ReopenWith(lister);
  host = std::make_unique<AnsweringHost>(program->Window(), programFolder.path());
  commands = std::make_unique<BatchCommands>(program->Window(), *host, program->Searches(), programFolder.path());
  Click(Control::WholeComputerRadio);
  SetContent(C(Control::NamesBox), "nothing-by-this-name");
  Click(Control::SearchButton);
  ASSERT_TRUE(WaitForCompletion());
  int ticks = 0;
  program->Window().Events().On(Control::Timer, Event::Tick, [&] {
    ++ticks;
    program->Searches().CompletionTick();
  });

  PutFile(tree / "a.txt", "a");
  MakeFolder(tree / "out");
  AppendPath(Rows(), tree / "a.txt");
  Rows().SetAllChecked(true);
  host->folderChoice = tree / "out";
  commands->Copy();
  EXPECT_EQ(Status(), G("复制完毕！"));
  PumpUntil([] { return false; }, 4500);  // two periods of the timer and more
  EXPECT_EQ(ticks, 0);
  EXPECT_EQ(Status(), G("复制完毕！"));
  EXPECT_EQ(FileBytes(tree / "out\\a.txt"), "a");
}

// While the delete runs, clicks on the other batch buttons, the search
// button and the not-found button do nothing: no second batch, no search
// that would empty the list under the delete, no report.
TEST_F(BatchOutcomes, ClicksDuringABatchDoNothing) {
  for (int i = 0; i < 30; ++i) PutFile(tree / ("f" + std::to_string(i) + ".txt"), "x");
  SearchFor("f", tree.path(), true);
  ASSERT_TRUE(WaitForCompletion());
  ASSERT_EQ(Rows().RowCount(), 30);
  Click(Control::CheckAllButton);

  const DWORD thread = GetCurrentThreadId();
  std::vector<HWND> buttons;
  for (Control button : {Control::SearchButton, Control::CopyButton, Control::MoveButton, Control::DeleteButton,
                         Control::NotFoundButton}) {
    buttons.push_back(C(button));
  }
  // Confirms the delete, clicks at once, then closes any dialog the clicks open.
  auto helper = std::async(std::launch::async, [thread, buttons] {
    int others = 0;
    HWND question = WaitForDialog(thread, 5000);
    if (!question) return -1;
    PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (HWND button : buttons) PostMessageW(button, BM_CLICK, 0, 0);
    const ULONGLONG end = GetTickCount64() + 3000;
    while (GetTickCount64() < end) {
      HWND dialog = FindVisibleWindowOfClass(thread, L"#32770");
      if (dialog && dialog != question) {
        ++others;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        while (IsWindow(dialog) && IsWindowVisible(dialog) && GetTickCount64() < end + 5000) Sleep(10);
      }
      Sleep(20);
    }
    return others;
  });
  Click(Control::DeleteButton);
  PumpUntil([&] { return helper.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 15000);
  EXPECT_EQ(helper.get(), 0);
  EXPECT_EQ(Status(), G("删除完毕！"));
  EXPECT_EQ(Rows().RowCount(), 0);
  EXPECT_TRUE(FolderNames(tree.path()).empty());
  EXPECT_FALSE(Exists(programFolder / G("未搜到文件列表.txt")));
  EXPECT_FALSE(program->Batches().Running());
}

}  // namespace
}  // namespace tarnwell::testing
