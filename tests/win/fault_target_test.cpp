// Copy and move into a target that refuses the files: a "folder" that is a
// file, a folder or a drive that is not there, a folder on a read-only file
// system, and a disk that fills up during the command. Every file ends up
// where it was or where it was sent, byte for byte; nothing half-written is
// left in the target, and the command ends with its usual status text.
//
// Two cases need a folder prepared outside Wine (scripts/test.sh mounts them
// when it may), given as host paths or Windows paths:
//   TARNWELL_READONLY_DIR   an empty folder on a file system mounted read-only
//                           (a chmod 555 folder serves too, except for root);
//   TARNWELL_FULL_DISK_DIR  a folder on a small file system (a tmpfs of 1 MB)
//                           with no other writer.
// Without them those cases are skipped with the reason.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/text/gb18030_wide_win.h"
#include "results/batch_transfer.h"
#include "tests/support/result_rows.h"
#include "tests/win/support/answering_host.h"
#include "tests/win/support/program_fixture.h"

namespace tarnwell::testing {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::FolderNames;
using testing_support::LongForm;
using testing_support::MakeFolder;
using testing_support::PutFile;
using testing_support::RemoveTree;

// The folder that the environment variable names, as a Windows path (GBK);
// empty when it is not set. A host path ("/...") is turned into the drive
// path Wine shows for it.
Text FolderFromEnvironment(const wchar_t* variable) {
  wchar_t value[4096];
  DWORD length = GetEnvironmentVariableW(variable, value, 4096);
  if (length == 0 || length >= 4096) return {};
  std::wstring folder(value, length);
  if (folder[0] == L'/') {
    using ToDosName = WCHAR*(CDECL*)(const char*);
    auto toDos = reinterpret_cast<ToDosName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos) return {};
    WCHAR* dos = toDos(WideToGb18030(folder).c_str());
    if (!dos) return {};
    folder = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    if (folder.rfind(L"\\\\?\\", 0) == 0) folder.erase(0, 4);
  }
  while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return WideToGb18030(folder);
}

// A folder of this test's own below a prepared folder, removed at the end.
class FolderBelow {
 public:
  explicit FolderBelow(const Text& parent)
      : path_(Concat(parent, "\\tarnwell-target-", NumberToText(static_cast<int>(GetCurrentProcessId())))) {
    RemoveTree(LongForm(path_));
    made_ = CreateDirectoryW(LongForm(path_).c_str(), nullptr) != 0;
  }
  ~FolderBelow() { RemoveTree(LongForm(path_)); }
  bool made() const { return made_; }
  const Text& path() const { return path_; }
  Text operator/(std::string_view name) const { return Concat(path_, "\\", name); }

 private:
  Text path_;
  bool made_ = false;
};

// Whether the file holds exactly these bytes; a failure tells the sizes, not the bytes.
::testing::AssertionResult Holds(const Text& path, const std::string& expected) {
  if (!Exists(path)) return ::testing::AssertionFailure() << path << " is missing";
  const std::string bytes = FileBytes(path);
  if (bytes == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << path << " holds " << bytes.size() << " bytes that differ from the "
                                       << expected.size() << " expected";
}

class TargetFaults : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    host = std::make_unique<AnsweringHost>(program->Window(), programFolder.path());
    MakeFolder(tree / "src");
  }
  Text Source(int i) const { return tree / ("src\\" + Name(i)); }
  static Text Name(int i) { return "f" + std::to_string(i) + ".bin"; }
  // Bytes that differ per file and run through every byte value.
  static std::string Content(int i, std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t b = 0; b < size; ++b) bytes[b] = static_cast<char>((b * 7 + b / 251 + i) & 0xFF);
    return bytes;
  }
  // Files f0 .. f<n-1> of these sizes in src, one ticked row each.
  void MakeTickedRows(std::initializer_list<std::size_t> sizes) {
    int i = 0;
    for (std::size_t size : sizes) {
      sources.push_back(Content(i, size));
      PutFile(Source(i), sources.back());
      AppendPath(Rows(), Source(i));
      Rows().SetChecked(i, true);
      ++i;
    }
  }
  void ExpectSourcesWhole(std::initializer_list<int> files) {
    for (int i : files) EXPECT_TRUE(Holds(Source(i), sources[static_cast<std::size_t>(i)]));
  }
  void ExpectRowsUnchangedAndTicked() {
    ASSERT_EQ(Rows().RowCount(), static_cast<int>(sources.size()));
    for (int i = 0; i < Rows().RowCount(); ++i) {
      EXPECT_EQ(Rows().RowText(i), Source(i));
      EXPECT_TRUE(Rows().IsChecked(i)) << i;
    }
  }
  static TextList Sorted(TextList names) {
    std::sort(names.begin(), names.end());
    return names;
  }

  std::unique_ptr<AnsweringHost> host;
  std::vector<std::string> sources;
};

// No writable folder behind the chosen path: every file stays whole where it
// was, nothing appears anywhere, and each command ends as usual.
TEST_F(TargetFaults, TargetsThatAreNoFolderReceiveNothingAndLoseNothing) {
  MakeTickedRows({1000, 5000, 1});
  PutFile(tree / "plain-file", "a file, not a folder");

  char missingDrive = 0;
  DWORD drives = GetLogicalDrives();
  for (char letter = 'Z'; letter >= 'D' && !missingDrive; --letter) {
    if (!(drives & (1u << (letter - 'A')))) missingDrive = letter;
  }
  TextList targets{tree / "plain-file", tree / "gone", tree / "gone\\deeper"};
  if (missingDrive) targets.push_back(Concat(Text(1, missingDrive), ":\\nowhere"));

  for (const Text& target : targets) {
    SCOPED_TRACE(target);
    host->folderChoice = target;
    BatchCopy(Rows(), *host);
    EXPECT_EQ(Status(), G("复制完毕！"));
    BatchMove(Rows(), *host);
    EXPECT_EQ(Status(), G("移动完毕！"));
    EXPECT_EQ(host->TakeShown(), (TextList{G("有3个文件未能复制。"), G("有3个文件未能移动。")}));
    ExpectSourcesWhole({0, 1, 2});
    ExpectRowsUnchangedAndTicked();
    EXPECT_TRUE(Holds(tree / "plain-file", "a file, not a folder"));
    EXPECT_EQ(Sorted(FolderNames(tree.path())), (TextList{"plain-file", "src"}));
    EXPECT_EQ(Sorted(FolderNames(tree / "src")), (TextList{"f0.bin", "f1.bin", "f2.bin"}));
    EXPECT_FALSE(Exists(tree / "gone"));
  }
}

TEST_F(TargetFaults, AReadOnlyFileSystemRefusesEveryFileAndTheSourcesStay) {
  const Text readOnly = FolderFromEnvironment(L"TARNWELL_READONLY_DIR");
  if (readOnly.empty()) GTEST_SKIP() << "TARNWELL_READONLY_DIR names no folder (scripts/test.sh prepares one)";
  const Text probe = Concat(readOnly, "\\write-probe");
  HANDLE file = CreateFileW(LongForm(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    DeleteFileW(LongForm(probe).c_str());
    GTEST_SKIP() << "TARNWELL_READONLY_DIR (" << readOnly << ") takes new files here (run as root on chmod 555?)";
  }
  const TextList before = FolderNames(readOnly);

  MakeTickedRows({1000, 200000, 0});
  host->folderChoice = readOnly;
  BatchCopy(Rows(), *host);
  EXPECT_EQ(Status(), G("复制完毕！"));
  BatchMove(Rows(), *host);
  EXPECT_EQ(Status(), G("移动完毕！"));
  EXPECT_EQ(host->TakeShown(), (TextList{G("有3个文件未能复制。"), G("有3个文件未能移动。")}));
  ExpectSourcesWhole({0, 1, 2});
  ExpectRowsUnchangedAndTicked();
  EXPECT_EQ(FolderNames(readOnly), before);
}

// The disk fills up during the command. What fits arrives whole; what does
// not leaves no part of itself behind, takes no space from the files after
// it, never replaces an older file of its name, and on a move stays where it
// was.
TEST_F(TargetFaults, AFullDiskKeepsWhatFitsWholeAndLeavesNoPartOfWhatDidNot) {
  const Text small = FolderFromEnvironment(L"TARNWELL_FULL_DISK_DIR");
  if (small.empty()) GTEST_SKIP() << "TARNWELL_FULL_DISK_DIR names no folder (scripts/test.sh prepares one)";
  FolderBelow out(small);
  ASSERT_TRUE(out.made()) << out.path();
  ULARGE_INTEGER available{}, total{}, freeBytes{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(LongForm(Concat(out.path(), "\\")).c_str(), &available, &total, &freeBytes));
  const std::size_t space = static_cast<std::size_t>(available.QuadPart);
  if (space < (256u << 10) || space > (64u << 20)) {
    GTEST_SKIP() << "TARNWELL_FULL_DISK_DIR has " << space << " bytes free; the test wants 256 KB to 64 MB";
  }

  // f0 takes a quarter of the space, f1 more than all of it, f2 a little.
  MakeTickedRows({space / 4, space + (64u << 10), 16u << 10});
  PutFile(out / Name(1), "an older f1");
  host->folderChoice = out.path();

  BatchCopy(Rows(), *host);
  EXPECT_EQ(Status(), G("复制完毕！"));
  EXPECT_EQ(host->TakeShown(), TextList{G("有1个文件未能复制。")});
  EXPECT_EQ(Sorted(FolderNames(out.path())), (TextList{"f0.bin", "f1.bin", "f2.bin"}));
  EXPECT_TRUE(Holds(out / Name(0), sources[0]));
  EXPECT_TRUE(Holds(out / Name(1), "an older f1"));
  EXPECT_TRUE(Holds(out / Name(2), sources[2]));
  ExpectSourcesWhole({0, 1, 2});
  ExpectRowsUnchangedAndTicked();

  // The move goes to another volume, so each file is copied and then deleted.
  DeleteFileW(LongForm(out / Name(0)).c_str());
  DeleteFileW(LongForm(out / Name(2)).c_str());
  BatchMove(Rows(), *host);
  EXPECT_EQ(Status(), G("移动完毕！"));
  EXPECT_EQ(host->TakeShown(), TextList{G("有1个文件未能移动。")});
  EXPECT_EQ(Sorted(FolderNames(out.path())), (TextList{"f0.bin", "f1.bin", "f2.bin"}));
  EXPECT_TRUE(Holds(out / Name(0), sources[0]));
  EXPECT_TRUE(Holds(out / Name(1), "an older f1"));
  EXPECT_TRUE(Holds(out / Name(2), sources[2]));
  EXPECT_FALSE(Exists(Source(0)));
  EXPECT_FALSE(Exists(Source(2)));
  ExpectSourcesWhole({1});
  ExpectRowsUnchangedAndTicked();
}

}  // namespace
}  // namespace tarnwell::testing
