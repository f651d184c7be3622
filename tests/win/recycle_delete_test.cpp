// Delete into the Recycle Bin on the real window and real files. Under Wine
// the Recycle Bin is the user's trash folder (the XDG one), where the tests
// look for the files they sent and remove them again. Files that cannot be
// recycled (read-only, held open, a path too long for the shell, a name the
// list cannot spell) stay on disk with their row and tick; with the setting
// off, the delete is the outright one, with its own question.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/text/gb18030_wide_win.h"
#include "platform/files/recycle_bin_win.h"
#include "results/batch_delete.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"
#include "ui/settings_file.h"

namespace tarnwell::testing {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::FolderNames;
using testing_support::HeldFile;
using testing_support::LongForm;
using testing_support::MakeFolder;
using testing_support::PutFile;

// The trash folder Wine recycles into: $XDG_DATA_HOME/Trash, else
// ~/.local/share/Trash, reached through Wine's "\\?\unix" paths.
std::wstring TrashFolder() {
  std::wstring base(4096, L'\0');
  DWORD length = GetEnvironmentVariableW(L"WINE_HOST_XDG_DATA_HOME", base.data(), 4096);
  if (length > 0 && length < 4096 && base[0] == L'/') {
    base = L"\\\\?\\unix" + base.substr(0, length) + L"/Trash";
  } else {
    length = GetEnvironmentVariableW(L"WINEHOMEDIR", base.data(), 4096);  // "\??\unix/home/..."
    if (length == 0 || length >= 4096) return {};
    base.resize(length);
    base[1] = L'\\';
    base += L"/.local/share/Trash";
  }
  std::replace(base.begin(), base.end(), L'/', L'\\');
  return base;
}

// Takes the file named `name` (or `name` with the suffix Wine adds when the
// name is taken) out of the trash: gives its bytes, or "(not in the trash)".
std::string TakeFromTrash(const std::wstring& name) {
  const std::wstring trash = TrashFolder();
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((trash + L"\\files\\" + name + L"*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return "(not in the trash)";
  std::wstring found = entry.cFileName;
  FindClose(find);
  std::string bytes = "(unreadable)";
  HANDLE file = CreateFileW((trash + L"\\files\\" + found).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    char buffer[256];
    DWORD read = 0;
    if (ReadFile(file, buffer, sizeof buffer, &read, nullptr)) bytes.assign(buffer, read);
    CloseHandle(file);
  }
  DeleteFileW((trash + L"\\files\\" + found).c_str());
  DeleteFileW((trash + L"\\info\\" + found + L".trashinfo").c_str());
  return bytes;
}

// A file name no other test or run uses, so that the trash holds it once.
std::wstring UniqueName(const wchar_t* stem) {
  static int counter = 0;
  return std::wstring(stem) + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(counter++) + L".txt";
}

class RecycleDelete : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    host = std::make_unique<WindowResultHost>(program->Window(), programFolder.path());
    ASSERT_FALSE(TrashFolder().empty());
  }
  // A file of that name in the tree, with a row.
  Text AddFile(const std::wstring& name, const std::string& content) {
    Text path = tree / WideToGb18030(name);
    PutFile(path, content);
    AppendPath(Rows(), path);
    return path;
  }
  AnsweredBox Delete() {
    auto answer = AnswerNextBox(IDOK);
    BatchDelete(Rows(), *host);
    return answer.get();
  }
  std::unique_ptr<WindowResultHost> host;
};

TEST_F(RecycleDelete, SettingOffAsksTodaysQuestionAndDeletesOutright) {
  WriteSetting(programFolder.path(), G("回收站"), G("假"));
  const std::wstring name = UniqueName(L"outright");
  AddFile(name, "gone for good");
  Rows().SetChecked(0, true);
  AnsweredBox box = Delete();
  EXPECT_EQ(box.text, G("您确定要删除选定的文件吗？请慎重，删除后不可恢复！"));
  EXPECT_EQ(Rows().RowCount(), 0);
  EXPECT_FALSE(Exists(tree / WideToGb18030(name)));
  EXPECT_EQ(TakeFromTrash(name), "(not in the trash)");
}

TEST_F(RecycleDelete, TickedFilesLandInTheTrashAndTheRefusedOnesKeepRowAndTick) {
  WriteSetting(programFolder.path(), G("回收站"), G("真"));
  const std::wstring recycled = UniqueName(L"recycled");
  const std::wstring unticked = UniqueName(L"unticked");
  const std::wstring readOnly = UniqueName(L"readonly");
  const std::wstring held = UniqueName(L"held");
  AddFile(recycled, "into the bin");
  AddFile(unticked, "stays");
  const Text readOnlyPath = AddFile(readOnly, "protected");
  const Text heldPath = AddFile(held, "in use");
  // A path longer than the shell takes.
  Text deep = tree.path();
  for (int i = 0; i < 6; ++i) {
    deep = Concat(deep, "\\", Text(50, static_cast<char>('a' + i)));
    MakeFolder(deep);
  }
  const Text longPath = Concat(deep, "\\", WideToGb18030(UniqueName(L"long")));
  PutFile(longPath, "far down");
  AppendPath(Rows(), longPath);
  // A name beyond GBK is spelt whole and recycled like any other, and never
  // taken for "aX.txt" beside it.
  PutFile(tree / "aX.txt", "bystander");
  const std::wstring beyondGbk = L"a\xD55C.txt";
  const std::wstring beyondGbkPath = LongForm(tree.path()) + L"\\" + beyondGbk;
  HANDLE created = CreateFileW(beyondGbkPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(created, "korean", 6, &written, nullptr);
  CloseHandle(created);
  AppendPath(Rows(), tree / WideToGb18030(beyondGbk));
  ASSERT_EQ(Rows().RowText(5).find('?'), Text::npos);

  SetFileAttributesW(LongForm(readOnlyPath).c_str(), FILE_ATTRIBUTE_READONLY);
  HeldFile holder(heldPath);
  ASSERT_TRUE(holder.ok());
  for (int row : {0, 2, 3, 4, 5}) Rows().SetChecked(row, true);

  auto answers = AnswerBoxes(2);
  BatchDelete(Rows(), *host);
  const std::vector<AnsweredBox> boxes = answers.get();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].caption, G("确定删除吗？"));
  EXPECT_EQ(boxes[0].text, G("您确定要将选定的文件放入回收站吗？"));
  // The read-only, the held and the long one stayed, and the end says so.
  EXPECT_EQ(boxes[1].text, G("有3个文件未能删除，已保留在列表中并保持勾选。"));
  EXPECT_EQ(boxes[1].caption, G("信息："));
  EXPECT_EQ(Status(), G("删除完毕！"));
  EXPECT_FALSE(Exists(tree / WideToGb18030(recycled)));
  EXPECT_EQ(TakeFromTrash(recycled), "into the bin");
  EXPECT_EQ(GetFileAttributesW(beyondGbkPath.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(TakeFromTrash(beyondGbk), "korean");
  // Every other row is still there, the refused ones ticked.
  ASSERT_EQ(Rows().RowCount(), 4);
  EXPECT_EQ(Rows().RowText(0), tree / WideToGb18030(unticked));
  EXPECT_FALSE(Rows().IsChecked(0));
  for (int row = 1; row < 4; ++row) EXPECT_TRUE(Rows().IsChecked(row)) << row;
  EXPECT_EQ(FileBytes(readOnlyPath), "protected");
  holder.Release();
  EXPECT_EQ(FileBytes(heldPath), "in use");
  EXPECT_EQ(FileBytes(longPath), "far down");
  EXPECT_EQ(FileBytes(tree / "aX.txt"), "bystander");
  for (const std::wstring& name : {unticked, readOnly, held}) {
    EXPECT_EQ(TakeFromTrash(name), "(not in the trash)");
  }
  // No second name is left behind beside any file.
  // Left: the unticked, read-only and held files, "aX.txt" and the deep folders' root.
  TextList left = FolderNames(tree.path());
  EXPECT_EQ(left.size(), 5u) << ::testing::PrintToString(left);
  SetFileAttributesW(LongForm(readOnlyPath).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(RecycleDelete, AFileTheShellDeletesOutrightComesBack) {
  // A shell that deletes outright whatever it cannot recycle, here everything.
  auto nuke = [](const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths) DeleteFileW(path.c_str());
  };
  const Text kept = tree / "precious.txt";
  const Text missing = tree / "never-there.txt";
  PutFile(kept, std::string("all\0of it", 9));
  const TextList paths = {kept, missing, kept};
  auto gone = [](const std::vector<RecycleOutcome>& outcomes) {
    std::vector<bool> went;
    for (const RecycleOutcome& outcome : outcomes) went.push_back(!outcome);
    return went;
  };
  std::vector<RecycleOutcome> outcomes = RecycleFilesThrough(paths, nuke);
  EXPECT_EQ(gone(outcomes), (std::vector<bool>{false, true, false}));
  // Each file that stayed says why, in the program's words or the system's.
  EXPECT_FALSE(outcomes[0]->message.empty());
  EXPECT_EQ(FileBytes(kept), std::string("all\0of it", 9));
  EXPECT_EQ(FolderNames(tree.path()), TextList{"precious.txt"});

  // A shell that does nothing: the file stays and no second name is left.
  outcomes = RecycleFilesThrough(TextList{kept}, [](const std::vector<std::wstring>&) {});
  EXPECT_EQ(gone(outcomes), std::vector<bool>{false});
  EXPECT_EQ(FolderNames(tree.path()), TextList{"precious.txt"});
}

}  // namespace
}  // namespace tarnwell::testing
