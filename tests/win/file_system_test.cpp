// File, drive and shell operations on the real Win32 file system.
#include "platform/files/file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "platform/text/gb18030_wide_win.h"
#include "platform/files/profile.h"
#include "platform/window/shell.h"
#include "platform/files/whole_file.h"
#include "tests/win/support/temporary_folder.h"

namespace tarnwell {
namespace {

using testing_support::Exists;
using testing_support::FileBytes;
using testing_support::FolderNames;
using testing_support::IsFolder;
using testing_support::MakeFolder;
using testing_support::PutFile;
using testing_support::TemporaryFolder;

ByteArray Bytes(std::string_view text) { return {reinterpret_cast<const unsigned char*>(text.data()), text.size()}; }

// Holds a file open the way another program might, sharing only reading.
class OpenElsewhere {
 public:
  explicit OpenElsewhere(std::string_view path)
      : file_(CreateFileW(testing_support::LongForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, 0, nullptr)) {}
  ~OpenElsewhere() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  bool ok() const { return file_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE file_;
};

TEST(CopyOneFile, ReplacesAnExistingFileButNoReadOnlyOneAndNotItself) {
  TemporaryFolder folder;
  PutFile(folder / "a.txt", "new content");
  PutFile(folder / "b.txt", "old and longer content");
  EXPECT_TRUE(CopyOneFile(folder / "a.txt", folder / "b.txt"));
  EXPECT_EQ(FileBytes(folder / "b.txt"), "new content");
  EXPECT_EQ(FileBytes(folder / "a.txt"), "new content");

  EXPECT_FALSE(CopyOneFile(folder / "a.txt", Concat(folder.path(), "\\.\\A.TXT")));
  EXPECT_EQ(FileBytes(folder / "a.txt"), "new content");
  PutFile(folder / "readonly.txt", "read-only");
  SetFileAttributesW(Gb18030ToWide(folder / "readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(CopyOneFile(folder / "a.txt", folder / "readonly.txt"));
  EXPECT_FALSE(MoveOneFile(folder / "a.txt", folder / "readonly.txt"));
  EXPECT_EQ(FileBytes(folder / "readonly.txt"), "read-only");
  EXPECT_EQ(FileBytes(folder / "a.txt"), "new content");

  EXPECT_FALSE(CopyOneFile(folder / "missing", folder / "c.txt"));
  EXPECT_FALSE(CopyOneFile(folder / "a.txt", folder / "no folder\\c.txt"));
  EXPECT_FALSE(Exists(folder / "c.txt"));
}

// The copy reads a small file in one piece that just holds it and a large
// one in pieces of a megabyte: sizes on either side of a page and of a
// piece arrive whole, read back or not, with the source's last write time.
TEST(CopyOneFile, FilesOfEverySizeArriveWholeWithTheirTime) {
  TemporaryFolder folder;
  constexpr std::size_t kMb = 1 << 20;
  const std::size_t sizes[] = {0, 1, 4095, 4096, 4097, kMb - 1, kMb, kMb + 1, 2 * kMb + 4097};
  FILETIME old{};
  SYSTEMTIME when{2011, 5, 0, 17, 8, 30, 0, 0};
  SystemTimeToFileTime(&when, &old);
  for (bool verify : {false, true}) {
    for (std::size_t size : sizes) {
      const std::string name = std::to_string(size) + (verify ? "v" : "");
      std::string bytes(size, '\0');
      for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 4096) & 0xFF);
      PutFile(folder / name, bytes);
      HANDLE source = CreateFileW(Gb18030ToWide(folder / name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
      SetFileTime(source, nullptr, nullptr, &old);
      CloseHandle(source);
      CopyOptions options;
      options.verify = verify;
      ASSERT_TRUE(CopyOneFile(folder / name, folder / (name + ".copy"), options)) << name;
      EXPECT_TRUE(FileBytes(folder / (name + ".copy")) == bytes) << name;
      WIN32_FILE_ATTRIBUTE_DATA copy{};
      GetFileAttributesExW(Gb18030ToWide(folder / (name + ".copy")).c_str(), GetFileExInfoStandard, &copy);
      EXPECT_EQ(CompareFileTime(&copy.ftLastWriteTime, &old), 0) << name;
    }
  }
}

TEST(MoveOneFile, RenamesOrCopiesOverAndRemovesTheSource) {
  TemporaryFolder folder;
  PutFile(folder / "a.txt", "a");
  EXPECT_TRUE(MoveOneFile(folder / "a.txt", folder / "renamed.txt"));
  EXPECT_FALSE(Exists(folder / "a.txt"));
  EXPECT_EQ(FileBytes(folder / "renamed.txt"), "a");

  // The rename fails on an existing destination; the copy replaces it.
  PutFile(folder / "b.txt", "old content of b");
  EXPECT_TRUE(MoveOneFile(folder / "renamed.txt", folder / "b.txt"));
  EXPECT_FALSE(Exists(folder / "renamed.txt"));
  EXPECT_EQ(FileBytes(folder / "b.txt"), "a");

  // A source that cannot be deleted stays, and the move still counts.
  PutFile(folder / "held.txt", "held");
  {
    OpenElsewhere held(folder / "held.txt");
    ASSERT_TRUE(held.ok());
    EXPECT_TRUE(MoveOneFile(folder / "held.txt", folder / "b.txt"));
  }
  EXPECT_EQ(FileBytes(folder / "b.txt"), "held");
  EXPECT_EQ(FileBytes(folder / "held.txt"), "held");

  EXPECT_FALSE(MoveOneFile(folder / "missing", folder / "b.txt"));
  EXPECT_EQ(FileBytes(folder / "b.txt"), "held");
  std::set<Text> names;
  for (const Text& name : FolderNames(folder.path())) names.insert(name);
  EXPECT_EQ(names, (std::set<Text>{"b.txt", "held.txt"}));  // no temporary copy left
}

TEST(MoveOneFile, NeverDestroysWhatItCannotReplace) {
  TemporaryFolder folder;
  PutFile(folder / "a.txt", "keep me");
  MakeFolder(folder / "sub");
  PutFile(folder / "sub\\inner.txt", "inner");

  // Onto a folder: neither the file nor the folder's content is touched.
  EXPECT_FALSE(MoveOneFile(folder / "a.txt", folder / "sub"));
  EXPECT_EQ(FileBytes(folder / "a.txt"), "keep me");
  EXPECT_EQ(FileBytes(folder / "sub\\inner.txt"), "inner");

  // Onto the same file under another spelling.
  MoveOneFile(folder / "a.txt", Concat(folder.path(), "\\sub\\..\\A.TXT"));
  EXPECT_EQ(FileBytes(folder / "a.txt"), "keep me");

  // Onto another name of the same file, and onto itself while it is held open.
  ASSERT_TRUE(CreateHardLinkW(Gb18030ToWide(folder / "link.txt").c_str(), Gb18030ToWide(folder / "a.txt").c_str(), nullptr));
  MoveOneFile(folder / "a.txt", folder / "link.txt");
  EXPECT_EQ(FileBytes(folder / "link.txt"), "keep me");
  MoveOneFile(folder / "link.txt", folder / "a.txt");
  EXPECT_EQ(FileBytes(folder / "a.txt"), "keep me");
  {
    OpenElsewhere held(folder / "a.txt");
    ASSERT_TRUE(held.ok());
    MoveOneFile(folder / "a.txt", Concat(folder.path(), "\\A.TXT"));
    EXPECT_EQ(FileBytes(folder / "a.txt"), "keep me");
  }
  EXPECT_EQ(FileBytes(folder / "a.txt"), "keep me");

  // Onto the same file through another drive: in this Wine prefix Z: is the
  // Linux root, which also holds C:.
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (unixName != nullptr) {
    char* unix = unixName(Gb18030ToWide(folder / "a.txt").c_str());
    ASSERT_NE(unix, nullptr);
    Text onZ = Concat("Z:", unix);
    HeapFree(GetProcessHeap(), 0, unix);
    for (char& c : onZ) c = c == '/' ? '\\' : c;
    ASSERT_EQ(FileBytes(onZ), "keep me");
    MoveOneFile(folder / "a.txt", onZ);  // a rename onto itself may count as done
    EXPECT_EQ(FileBytes(folder / "a.txt"), "keep me");
    EXPECT_FALSE(CopyOneFile(folder / "a.txt", onZ));
    EXPECT_EQ(FileBytes(folder / "a.txt"), "keep me");
  }
}

TEST(IdentifyFile, OneFileUnderEverySpellingAndNoOtherFile) {
  TemporaryFolder folder;
  PutFile(folder / "a.txt", "a");
  PutFile(folder / "b.txt", "b");
  ASSERT_TRUE(CreateHardLinkW(Gb18030ToWide(folder / "link.txt").c_str(), Gb18030ToWide(folder / "a.txt").c_str(), nullptr));
  auto a = IdentifyFile(folder / "a.txt");
  ASSERT_TRUE(a);
  // This volume gives file ids: they decide, and no path is kept.
  EXPECT_NE(a->id, FileId{});
  EXPECT_TRUE(a->path.empty());
  EXPECT_EQ(a, IdentifyFile(Concat(folder.path(), "\\.\\A.TXT")));
  EXPECT_EQ(a, IdentifyFile(folder / "link.txt"));
  EXPECT_NE(a, IdentifyFile(folder / "b.txt"));
  EXPECT_EQ(IdentifyFile(folder / "missing.txt"), std::nullopt);
}

TEST(DeleteOneFile, DeletesOnlyWhatMayGo) {
  TemporaryFolder folder;
  PutFile(folder / "a.txt", "a");
  EXPECT_TRUE(DeleteOneFile(folder / "a.txt"));
  EXPECT_FALSE(Exists(folder / "a.txt"));
  EXPECT_FALSE(DeleteOneFile(folder / "a.txt"));

  PutFile(folder / "readonly.txt", "r");
  SetFileAttributesW(Gb18030ToWide(folder / "readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(DeleteOneFile(folder / "readonly.txt"));
  EXPECT_EQ(FileBytes(folder / "readonly.txt"), "r");

  PutFile(folder / "held.txt", "h");
  OpenElsewhere held(folder / "held.txt");
  ASSERT_TRUE(held.ok());
  EXPECT_FALSE(DeleteOneFile(folder / "held.txt"));
  EXPECT_TRUE(Exists(folder / "held.txt"));

  MakeFolder(folder / "sub");
  EXPECT_FALSE(DeleteOneFile(folder / "sub"));
  EXPECT_TRUE(IsFolder(folder / "sub"));
}

TEST(WriteWholeFile, WritesTheBytesOnlyWhereItMay) {
  TemporaryFolder folder;
  EXPECT_FALSE(WriteWholeFile("", Bytes("x")));
  EXPECT_TRUE(FolderNames(folder.path()).empty());

  PutFile(folder / "f.txt", "a much longer old content");
  EXPECT_TRUE(WriteWholeFile(folder / "f.txt", Bytes("one,two,three")));
  EXPECT_EQ(FileBytes(folder / "f.txt"), "one,two,three");
  EXPECT_TRUE(WriteWholeFile(folder / "empty.txt", Bytes("")));
  EXPECT_EQ(FileBytes(folder / "empty.txt"), "");
  EXPECT_TRUE(Exists(folder / "empty.txt"));

  {
    OpenElsewhere held(folder / "f.txt");
    ASSERT_TRUE(held.ok());
    EXPECT_FALSE(WriteWholeFile(folder / "f.txt", Bytes("lost")));
  }
  EXPECT_EQ(FileBytes(folder / "f.txt"), "one,two,three");
  MakeFolder(folder / "sub");
  EXPECT_FALSE(WriteWholeFile(folder / "sub", Bytes("x")));
  EXPECT_FALSE(WriteWholeFile(folder / "missing\\f.txt", Bytes("x")));
}

TEST(LongPaths, EveryFileOperationWorksBeyond260Characters) {
  TemporaryFolder folder;
  Text deep = folder.path();
  while (deep.size() < 300) {
    deep = Concat(deep, "\\", Text(40, 'd'));
    MakeFolder(deep);
  }
  ASSERT_TRUE(IsFolder(deep));
  Text source = Concat(deep, "\\source.txt");
  ASSERT_GT(source.size(), 300u);

  EXPECT_TRUE(WriteWholeFile(source, Bytes("long")));
  EXPECT_EQ(FileBytes(source), "long");
  EXPECT_TRUE(CopyOneFile(source, Concat(deep, "\\copy.txt")));
  EXPECT_EQ(FileBytes(Concat(deep, "\\copy.txt")), "long");
  EXPECT_TRUE(MoveOneFile(Concat(deep, "\\copy.txt"), Concat(deep, "\\moved.txt")));
  EXPECT_TRUE(MoveOneFile(source, Concat(deep, "\\moved.txt")));  // through the copy
  EXPECT_EQ(FileBytes(Concat(deep, "\\moved.txt")), "long");
  EXPECT_FALSE(Exists(source));
  EXPECT_TRUE(DeleteOneFile(Concat(deep, "\\moved.txt")));
  EXPECT_TRUE(FolderNames(deep).empty());

  Text ini = Concat(deep, "\\config.ini");
  EXPECT_TRUE(WriteProfileValue(ini, "zhuce", "k", "v"));
  EXPECT_EQ(ReadProfileValue(ini, "zhuce", "k"), "v");
  EXPECT_EQ(FileBytes(ini), "[zhuce]\r\nk=v\r\n");
  EXPECT_EQ(FolderNames(deep), TextList{"config.ini"});
}

TEST(ReplaceFileContents, LeavesNothingHalfDoneWhenItCannotReplace) {
  TemporaryFolder folder;
  Text file = folder / "config.ini";
  EXPECT_TRUE(ReplaceFileContents(file, "first"));
  EXPECT_TRUE(ReplaceFileContents(file, "second"));
  EXPECT_EQ(FileBytes(file), "second");

  SetFileAttributesW(Gb18030ToWide(file).c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_FALSE(ReplaceFileContents(file, "third"));
  EXPECT_FALSE(WriteProfileValue(file, "zhuce", "k", "v"));
  SetFileAttributesW(Gb18030ToWide(file).c_str(), FILE_ATTRIBUTE_NORMAL);
  {
    OpenElsewhere held(file);
    ASSERT_TRUE(held.ok());
    EXPECT_FALSE(ReplaceFileContents(file, "fourth"));
  }
  EXPECT_EQ(FileBytes(file), "second");
  MakeFolder(folder / "sub");
  EXPECT_FALSE(ReplaceFileContents(folder / "sub", "x"));
  EXPECT_EQ(ReadWholeFile(folder / "sub", 100).status, ReadStatus::Failed);
  EXPECT_EQ(ReadWholeFile(folder / "none", 100).status, ReadStatus::Missing);
  EXPECT_EQ(ReadProfileValue(folder / "sub", "zhuce", "k", "d"), "d");
  EXPECT_EQ(FolderNames(folder.path()), (TextList{"config.ini", "sub"}));
}

TEST(ListDrives, GivesTheFixedDrivesFromAToZ) {
  TextList fixed = ListDrives(DriveKind::Fixed);
  EXPECT_NE(std::find(fixed.begin(), fixed.end(), "C:"), fixed.end());
  // Drive Z: of the test prefix is a network drive.
  EXPECT_EQ(std::find(fixed.begin(), fixed.end(), "Z:"), fixed.end());
  EXPECT_TRUE(std::is_sorted(fixed.begin(), fixed.end()));
  for (const Text& root : fixed) {
    ASSERT_EQ(root.size(), 2u);
    EXPECT_TRUE(root[0] >= 'A' && root[0] <= 'Z' && root[1] == ':') << root;
  }
}

}  // namespace
}  // namespace tarnwell
