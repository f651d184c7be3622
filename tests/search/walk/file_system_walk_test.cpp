// The engine on a real folder tree, through the POSIX lister.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "tests/support/fake_tree.h"
#include "tests/support/recording_sink.h"
#include "platform/files/directory_listing.h"
#include "platform/text/gbk_literal.h"
#include "platform/files/whole_file.h"
#include "search/search.h"

namespace tarnwell {
namespace {

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

class TempTree : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/tarnwell-walk-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + root_ + "'").c_str()); }

  // `path` is relative to the root, UTF-8, "/"-separated.
  void File(const std::string& path) { std::ofstream(root_ + "/" + path) << "x"; }
  void Folder(const std::string& path) { ASSERT_EQ(mkdir((root_ + "/" + path).c_str(), 0755), 0); }
  void Link(const std::string& path, const std::string& target) {
    ASSERT_EQ(symlink(target.c_str(), (root_ + "/" + path).c_str()), 0);
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

  std::string root_;
};

TEST_F(TempTree, ListsEachEntryOnceWithGbkNamesAndLinksAsReparsePoints) {
  File("a.txt");
  File(".hidden");
  File("照片.jpg");
  Folder("sub");
  Folder("目录");
  Link("up", "..");
  Link("here.txt", "a.txt");
  Link("dangling", "nowhere");
  bool listed = false;
  EXPECT_EQ(Listed(root_, &listed), (std::vector<ListedEntry>{{".hidden", false, false},
                                                              {"a.txt", false, false},
                                                              {"dangling", false, true},
                                                              {"here.txt", false, true},
                                                              {"sub", true, false},
                                                              {"up", true, true},
                                                              {"目录"_gbk, true, false},
                                                              {"照片.jpg"_gbk, false, false}}));
  EXPECT_TRUE(listed);
  // A GBK path with "\" separators, one trail byte of which is that of "\".
  Folder("目录/昞");
  File("目录/昞/b");
  EXPECT_EQ(Listed(root_ + "\\" + "目录\\昞"_gbk), (std::vector<ListedEntry>{{"b", false, false}}));
}

// Names GBK cannot hold and bytes that are no UTF-8 are listed as Texts
// that name the same files again, for the lister and for the file
// functions alike: a Chinese folder, one named with an emoji.
TEST_F(TempTree, TheListerAndTheFileFunctionsNameTheSameFiles) {
  File("张🙂.jpg");
  File("a\xFF.txt");
  Folder("设置🙂");
  const std::vector<ListedEntry> listed = Listed(root_);
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[2], (ListedEntry{"张🙂.jpg"_gbk, false, false}));
  EXPECT_EQ(listed[1], (ListedEntry{"设置🙂"_gbk, true, false}));
  for (const ListedEntry& entry : listed) {
    EXPECT_EQ(entry.name.find('?'), Text::npos);
    if (!entry.folder) {
      EXPECT_EQ(ReadWholeFile(root_ + "\\" + entry.name, 100).bytes, "x") << Gb18030ToUtf8(entry.name);
    }
  }
  const Text settings = root_ + "\\" + "设置🙂"_gbk + "\\config.ini";
  ASSERT_TRUE(ReplaceFileContents(settings, "[zhuce]\r\n"));
  EXPECT_EQ(Listed(root_ + "\\" + "设置🙂"_gbk), (std::vector<ListedEntry>{{"config.ini", false, false}}));
  EXPECT_EQ(ReadWholeFile(settings, 100).bytes, "[zhuce]\r\n");
  std::ifstream written(root_ + "/设置🙂/config.ini");
  EXPECT_TRUE(written.good());
}

TEST_F(TempTree, AFolderThatCannotBeListedGivesFalseAndNothing) {
  File("plain");
  bool listed = true;
  EXPECT_TRUE(Listed(root_ + "\\missing", &listed).empty());
  EXPECT_FALSE(listed);
  EXPECT_TRUE(Listed(root_ + "\\plain", &listed).empty());
  EXPECT_FALSE(listed);
  EXPECT_TRUE(Listed("", &listed).empty());
  EXPECT_FALSE(listed);
}

// The search on the real tree with each walk listing alone and with helpers.
class TempTreeSearch : public TempTree, public ::testing::WithParamInterface<int> {};

TEST_P(TempTreeSearch, EndsInALinkCycleAndFindsWhatLiesBelowTheRoot) {
  Folder("sub");
  Folder("sub/deeper");
  Folder("照片");
  File("a.txt");
  File("sub/A.TXT");
  File("sub/deeper/a");
  File("照片/a.b.c");
  File("照片/ab.txt");
  Link("sub/deeper/cycle", "../..");
  Link("sub/self", ".");
  Link("sub/a.lnk", "../a.txt");  // a link to a file is a file
  auto rowsOf = [&](const NameList& names, int threads) {
    auto sink = std::make_shared<testing::RecordingSink>(1);
    auto search = Search::Start(names, {root_}, MatchMode::Exact, sink, FileSystemLister(),
                                SearchOptions{1000, std::chrono::milliseconds(20), threads});
    sink->WaitForAllEnds();
    return sink->Rows()[0];
  };
  TextList rows = rowsOf({"a"}, GetParam());
  std::sort(rows.begin(), rows.end());
  Text root = root_;
  EXPECT_EQ(rows, (TextList{root + "\\a.txt", root + "\\sub\\A.TXT", root + "\\sub\\a.lnk",
                            root + "\\sub\\deeper\\a", root + "\\" + "照片\\a.b.c"_gbk}));

  // In the order the file system lists them, the rows of a larger tree are
  // those of the walk listing alone.
  for (int i = 0; i < 40; ++i) {
    std::string folder = "sub/f" + std::to_string(i % 7) + "_" + std::to_string(i);
    Folder(folder);
    if (i % 3 == 0) Folder(folder + "/照片");
    File(folder + "/a" + std::to_string(i));
    if (i % 3 == 0) File(folder + "/照片/a");
  }
  TextList alone = rowsOf({"a*", "照片"_gbk}, 1);
  EXPECT_GT(alone.size(), 40u);
  EXPECT_EQ(rowsOf({"a*", "照片"_gbk}, GetParam()), alone);
}

INSTANTIATE_TEST_SUITE_P(Threads, TempTreeSearch, ::testing::Values(1, 2, 8),
                         [](const ::testing::TestParamInfo<int>& threads) { return NumberToText(threads.param); });

}  // namespace
}  // namespace tarnwell
