// The Win32 lister and the walk on a real folder tree under Wine or Windows:
// hidden and system entries, links to folders, paths past the classic
// 260-character limit, folders that cannot be listed.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "platform/files/directory_listing.h"
#include "platform/text/gbk_literal.h"
#include "platform/text/gb18030_wide_win.h"
#include "search/search.h"

namespace tarnwell {
namespace {

std::wstring Long(const Text& gbkPath) { return L"\\\\?\\" + Gb18030ToWide(gbkPath); }

// Under Wine: the Unix path of a Windows path, empty elsewhere.
std::wstring UnixPathOf(const std::wstring& path) {
  using UnixFileName = char*(CDECL*)(const wchar_t*);
  auto unixFileName = reinterpret_cast<UnixFileName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (unixFileName == nullptr) return {};
  char* name = unixFileName(path.c_str());
  if (name == nullptr) return {};
  int length = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, name, -1, wide.data(), length);
  wide.resize(wcslen(wide.c_str()));
  HeapFree(GetProcessHeap(), 0, name);
  return wide;
}

// Under Wine: starts a Unix program (Wine starts Unix executables too) and
// waits until `done` holds, for at most 30 s: the handle Wine gives for a
// Unix process cannot be waited for.
bool RunUnixProgram(const wchar_t* program, std::wstring commandLine, const std::function<bool()>& done) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  for (int i = 0; i < 1500 && !done(); ++i) Sleep(20);
  return done();
}

// Attributes as a listing reports them: the link itself, not where it leads.
DWORD ListedAttributes(const std::wstring& longPath) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(longPath.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return INVALID_FILE_ATTRIBUTES;
  FindClose(find);
  return data.dwFileAttributes;
}

// Removes a tree without following links: a link to a folder is removed as
// the link it is, never entered.
void RemoveTree(const std::wstring& longPath) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((longPath + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = longPath + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      bool folder = entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
      if (folder && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveTree(child);
      } else if (folder) {
        // Wine cannot remove a Unix link to a folder itself; rm can.
        if (!RemoveDirectoryW(child.c_str())) {
          std::wstring unixPath = UnixPathOf(child);
          if (!unixPath.empty()) {
            RunUnixProgram(L"Z:\\bin\\rm", L"/bin/rm \"" + unixPath + L"\"",
                           [&] { return ListedAttributes(child) == INVALID_FILE_ATTRIBUTES; });
          }
        }
      } else {
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(longPath.c_str());
}

struct ListedEntry {
  Text name;
  bool folder;
  bool link;
  bool operator==(const ListedEntry&) const = default;
  bool operator<(const ListedEntry& other) const { return name < other.name; }
  friend void PrintTo(const ListedEntry& entry, std::ostream* out) {
    *out << Gb18030ToUtf8(entry.name) << (entry.folder ? " folder" : "") << (entry.link ? " link" : "");
  }
};

class CollectingSink final : public SearchSink {
 public:
  void DeliverRows(Search&, std::size_t, RowBatch rows) override {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < rows.size(); ++i) rows_.push_back(Concat(rows.Folder(i), "\\", rows.Name(i)));
  }
  void WalkEnded(Search&, std::size_t) override {
    std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
  }
  TextList WaitForRows() {
    std::unique_lock lock(mutex_);
    EXPECT_TRUE(changed_.wait_for(lock, std::chrono::seconds(120), [&] { return ended_; }));
    return rows_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  TextList rows_;
  bool ended_ = false;
};

class Win32Tree : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    std::wstring base(temp, length);
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    root_ = WideToGb18030(base) + "\\tarnwell-listing-" + NumberToText(static_cast<int>(GetCurrentProcessId())) + "-" +
            NumberToText(counter_++);
    RemoveTree(Long(root_));
    ASSERT_TRUE(CreateDirectoryW(Long(root_).c_str(), nullptr));
  }
  void TearDown() override {
    RemoveTree(Long(root_));
    EXPECT_EQ(GetFileAttributesW(Long(root_).c_str()), INVALID_FILE_ATTRIBUTES) << "left behind";
  }

  Text Path(const Text& relative) const { return relative.empty() ? root_ : root_ + "\\" + relative; }
  void Folder(const Text& relative, DWORD attributes = 0) {
    ASSERT_TRUE(CreateDirectoryW(Long(Path(relative)).c_str(), nullptr)) << Gb18030ToUtf8(relative);
    if (attributes) SetFileAttributesW(Long(Path(relative)).c_str(), attributes);
  }
  void File(const Text& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = CreateFileW(Long(Path(relative)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << Gb18030ToUtf8(relative);
    CloseHandle(file);
  }

  std::vector<ListedEntry> Listed(const Text& folder, bool* listed = nullptr) {
    DirectoryListing listing;
    listing.Add("stale", false, false);
    bool ok = FileSystemLister().List(folder, listing) == ListingOutcome::Listed;
    if (listed) *listed = ok;
    std::vector<ListedEntry> entries;
    for (std::size_t i = 0; i < listing.size(); ++i) {
      entries.push_back({Text(listing[i].name), listing[i].folder, listing[i].link});
    }
    std::sort(entries.begin(), entries.end());
    return entries;
  }

  // The rows of a search of `root`, sorted. The walk listing alone and with
  // 2 and 8 threads listing must find them in the same order.
  static TextList SearchRows(const Text& root, const NameList& names) {
    TextList alone;
    for (int threads : {1, 2, 8}) {
      auto sink = std::make_shared<CollectingSink>();
      auto search = Search::Start(names, {root}, MatchMode::Exact, sink, FileSystemLister(),
                                  SearchOptions{1000, std::chrono::milliseconds(20), threads});
      TextList rows = sink->WaitForRows();
      if (threads == 1) {
        alone = rows;
      } else {
        EXPECT_EQ(rows, alone) << threads << " threads";
      }
    }
    std::sort(alone.begin(), alone.end());
    return alone;
  }

  Text root_;
  static inline int counter_ = 0;
};

TEST_F(Win32Tree, ListsHiddenAndSystemEntriesButNeverDotEntries) {
  File("a.txt");
  File("hidden.txt", FILE_ATTRIBUTE_HIDDEN);
  File("system.txt", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  File("照片.jpg"_gbk, FILE_ATTRIBUTE_READONLY);
  Folder("secret", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  File("secret\\a.doc", FILE_ATTRIBUTE_HIDDEN);
  bool listed = false;
  EXPECT_EQ(Listed(root_, &listed), (std::vector<ListedEntry>{{"a.txt", false, false},
                                                              {"hidden.txt", false, false},
                                                              {"secret", true, false},
                                                              {"system.txt", false, false},
                                                              {"照片.jpg"_gbk, false, false}}));
  EXPECT_TRUE(listed);
  EXPECT_EQ(SearchRows(root_, {"a", "system", "照片"_gbk}),
            (TextList{Path("a.txt"), Path("secret\\a.doc"), Path("system.txt"), Path("照片.jpg"_gbk)}));
}

TEST_F(Win32Tree, AFolderThatCannotBeListedGivesFalseAndNothing) {
  File("plain");
  bool listed = true;
  EXPECT_TRUE(Listed(Path("missing"), &listed).empty());
  EXPECT_FALSE(listed);
  EXPECT_TRUE(Listed(Path("plain"), &listed).empty());
  EXPECT_FALSE(listed);
  EXPECT_TRUE(SearchRows(Path("missing"), {"a"}).empty());
}

TEST_F(Win32Tree, RootsKeepTheirTrailingBackslash) {
  File("a.txt");
  EXPECT_EQ(SearchRows(root_ + "\\", {"a"}), TextList{root_ + "\\\\a.txt"});
}

bool IsReparseFolder(const Text& path) {
  DWORD attributes = ListedAttributes(Long(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Under Wine, whose CreateSymbolicLinkW does nothing (and which refuses to
// set junctions), a Unix symbolic link made with ln: Wine shows it to Windows
// programs as a folder that is a reparse point.
bool MakeUnixLink(const Text& link, const Text& target) {
  std::wstring unixLink = UnixPathOf(Long(link));
  std::wstring unixTarget = UnixPathOf(Long(target));
  if (unixLink.empty() || unixTarget.empty()) return false;
  return RunUnixProgram(L"Z:\\bin\\ln", L"/bin/ln -s \"" + unixTarget + L"\" \"" + unixLink + L"\"",
                        [&] { return IsReparseFolder(link); });
}

// Makes `link` a link to the folder `target` in the first way that works
// here; says which in `how`.
bool MakeFolderLink(const Text& link, const Text& target, Text& how) {
  CreateSymbolicLinkW(Gb18030ToWide(link).c_str(), Gb18030ToWide(target).c_str(),
                      SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
  how = "symbolic link";
  if (IsReparseFolder(link)) return true;
  how = "Unix symbolic link";
  if (MakeUnixLink(link, target)) return true;
  how = "none";
  return false;
}

TEST_F(Win32Tree, LinksToFoldersAreListedAsLinksAndNeverEntered) {
  Folder("sub");
  File("sub\\a.txt");
  File("a.txt");
  Text how;
  if (!MakeFolderLink(Path("sub\\up"), root_, how)) GTEST_SKIP() << "no way to make a link to a folder here";
  RecordProperty("folder_link", how);
  EXPECT_EQ(Listed(Path("sub")), (std::vector<ListedEntry>{{"a.txt", false, false}, {"up", true, true}})) << how;
  // The link leads back to the root: entering it would walk in circles.
  EXPECT_EQ(SearchRows(root_, {"a"}), (TextList{Path("a.txt"), Path("sub\\a.txt")})) << how;
}

TEST_F(Win32Tree, WalksAndListsPathsLongerThan300Characters) {
  Text relative;
  for (int level = 0; level < 6; ++level) {
    relative += (relative.empty() ? "" : "\\") + Text(50, static_cast<char>('k' + level));
    Folder(relative);
  }
  File(relative + "\\needle.txt");
  File(relative + "\\深处.txt"_gbk);
  Text deep = Path(relative);
  ASSERT_GT(deep.size(), 300u);
  EXPECT_EQ(Listed(deep), (std::vector<ListedEntry>{{"needle.txt", false, false}, {"深处.txt"_gbk, false, false}}));
  EXPECT_EQ(SearchRows(root_, {"needle", "深处"_gbk}), (TextList{deep + "\\needle.txt", deep + "\\深处.txt"_gbk}));
}

}  // namespace
}  // namespace tarnwell
