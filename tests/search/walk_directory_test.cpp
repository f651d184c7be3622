#include "search/walk_directory.h"

#include <gtest/gtest.h>

#include <random>

#include "fake_tree.h"
#include "platform/gbk_literal.h"

namespace tarnwell {
namespace {

using testing::FakeTree;

struct Collected final : WalkOutput {
  void Row(const Text& folder, std::string_view name, std::uint32_t) override {
    rows.push_back(Concat(folder, "\\", name));
  }
  void FolderSearched(const Text& folder) override { folders.push_back(folder); }
  TextList rows;
  TextList folders;
};

struct Walk {
  Walk(const FakeTree& fakeTree, NameList names, MatchMode initialMode = MatchMode::Exact)
      : tree(fakeTree), matcher(std::make_shared<const NameList>(std::move(names))), readMode([this] {
          ++modeReads;
          return mode;
        }),
        mode(initialMode) {}

  TextList Rows(const Text& root) {
    Collected collected;
    finished = WalkDirectory(root, WalkInputs{tree, matcher, readMode, cancelled}, collected);
    folders = collected.folders;
    return collected.rows;
  }

  const FakeTree& tree;
  NameMatcher matcher;
  std::function<MatchMode()> readMode;
  MatchMode mode;
  int modeReads = 0;
  std::atomic<bool> cancelled{false};
  bool finished = false;
  TextList folders;
};

TEST(WalkDirectory, RowsPerFolderFollowTheNameListThenTheListingOrder) {
  FakeTree tree;
  tree.AddFolder("R", {{"b.txt"}, {"a.txt"}, {"ab"}, {"data", true}, {"A.TXT.old"}});
  tree.AddFile("R\\data", "a");
  tree.AddSubfolder("R", "z");
  tree.AddFile("R\\z", "ab.a");
  Walk walk(tree, {"ab", "a.txt", "data", "a"});
  EXPECT_EQ(walk.Rows("R"), (TextList{"R\\ab", "R\\a.txt", "R\\A.TXT.old", "R\\a.txt", "R\\A.TXT.old",
                                      "R\\data\\a", "R\\z\\ab.a"}));
  EXPECT_TRUE(walk.finished);
  EXPECT_EQ(walk.folders, (TextList{"R", "R\\data", "R\\z"}));
}

TEST(WalkDirectory, RootsAreTakenAsTheyAre) {
  FakeTree tree;
  tree.AddFolder("C:", {{"boot.ini"}});
  tree.AddSubfolder("C:", "Windows");
  tree.AddFile("C:\\Windows", "boot.ini");
  tree.AddFolder("D:\\", {{"x"}});
  EXPECT_EQ(Walk(tree, {"boot"}).Rows("C:"), (TextList{"C:\\boot.ini", "C:\\Windows\\boot.ini"}));
  EXPECT_EQ(Walk(tree, {"x"}).Rows("D:\\"), TextList{"D:\\\\x"});
}

TEST(WalkDirectory, SkipsReparsePointsAndNamesEndingInADotButListsHiddenOnes) {
  FakeTree tree;
  tree.AddSubfolder("R", "link", true);
  tree.AddSubfolder("R", "x.");
  tree.AddSubfolder("R", ".hidden");
  tree.AddFolder("R\\link", {{"a"}});
  tree.AddFolder("R\\x.", {{"a"}});
  tree.AddFile("R\\.hidden", "a");
  tree.AddFile("R\\.hidden", ".a");
  tree.AddSubfolder("R", "昞"_gbk);  // ends in the byte of "\"
  tree.AddFile("R\\昞"_gbk, "a");
  Walk walk(tree, {"a"}, MatchMode::Fuzzy);
  EXPECT_EQ(walk.Rows("R"), (TextList{"R\\.hidden\\a", "R\\.hidden\\.a", "R\\昞\\a"_gbk}));
  EXPECT_EQ(tree.Listings(), (std::map<Text, int>{{"R", 1}, {"R\\.hidden", 1}, {"R\\昞"_gbk, 1}}));
}

TEST(WalkDirectory, AFolderThatCannotBeListedIsANonEvent) {
  FakeTree tree;
  tree.AddFolder("R", {{"gone", true}, {"a"}});
  tree.AddSubfolder("R", "next");
  tree.AddFile("R\\next", "a");
  Walk walk(tree, {"a"});
  EXPECT_EQ(walk.Rows("R"), (TextList{"R\\a", "R\\next\\a"}));
  EXPECT_EQ(walk.folders, (TextList{"R", "R\\gone", "R\\next"}));
  EXPECT_TRUE(Walk(tree, {"a"}).Rows("missing").empty());
}

TEST(WalkDirectory, ReadsTheModeOncePerFolderAndAppliesItFromThatFolderOn) {
  FakeTree tree;
  tree.AddFile("R", "xa");
  tree.AddSubfolder("R", "s");
  tree.AddFile("R\\s", "xa");
  tree.AddSubfolder("R\\s", "t");
  tree.AddFile("R\\s\\t", "xa");
  Walk walk(tree, {"a"});
  walk.readMode = [&] { return ++walk.modeReads == 2 ? MatchMode::Fuzzy : MatchMode::Exact; };
  EXPECT_EQ(walk.Rows("R"), TextList{"R\\s\\xa"});
  EXPECT_EQ(walk.modeReads, 3);
}

TEST(WalkDirectory, CancellationStopsTheWalkAtOnce) {
  FakeTree tree;
  for (int i = 0; i < 10; ++i) {
    Text folder = "R\\" + NumberToText(i);
    tree.AddSubfolder("R", NumberToText(i));
    tree.AddFile(folder, "a");
  }
  Walk walk(tree, {"a"});
  int listed = 0;
  tree.OnList([&](const Text&) {
    if (++listed == 5) walk.cancelled = true;
  });
  TextList rows = walk.Rows("R");
  EXPECT_FALSE(walk.finished);
  // The folder being listed when the flag was set gives no rows; nothing is listed after it.
  EXPECT_EQ(rows, (TextList{"R\\0\\a", "R\\1\\a", "R\\2\\a"}));
  EXPECT_EQ(listed, 5);
}

TEST(WalkDirectory, WalksPathsLongerThanAnyWindowsPath) {
  FakeTree tree;
  Text folder = "R";
  const Text name(250, 'd');  // near the longest name a folder can have
  for (int depth = 0; depth < 132; ++depth) {
    tree.AddSubfolder(folder, name);
    folder += "\\" + name;
  }
  ASSERT_GT(folder.size(), 32767u);
  tree.AddFile(folder, "deep.txt");
  EXPECT_EQ(Walk(tree, {"deep"}).Rows("R"), TextList{folder + "\\deep.txt"});
}

// Random trees and random name lists: the rows, in order, are those of the
// reference walk that lists every folder once per wanted name.
TEST(WalkDirectory, GivesTheRowsOfListingEachFolderOncePerName) {
  const TextList alphabet = {"a", "A", "b", ".", "x", "ａ"_gbk, "Ａ"_gbk, "α"_gbk, "Α"_gbk, "昞"_gbk, "乤"_gbk,
                             "中"_gbk};
  std::mt19937 random(99);
  auto randomText = [&](int maxLength, int wildcardShare) {
    Text text;
    int length = 1 + static_cast<int>(random() % maxLength);
    for (int i = 0; i < length; ++i) {
      if (static_cast<int>(random() % 100) < wildcardShare) {
        text += random() % 2 ? "*" : "?";
      } else {
        text += alphabet[random() % alphabet.size()];
      }
    }
    return text;
  };
  testing::ReferenceFolding folding;
  std::size_t totalRows = 0;
  for (int round = 0; round < 30; ++round) {
    FakeTree tree;
    TextList folders = {"R"};
    tree.AddFolder("R");
    for (int i = 0; i < 60; ++i) {
      const Text& parent = folders[random() % folders.size()];
      Text name = randomText(4, 0);
      if (random() % 4 == 0) {
        bool reparse = random() % 5 == 0;
        tree.AddSubfolder(parent, name, reparse);
        folders.push_back(parent + "\\" + name);
      } else {
        tree.AddFile(parent, name);
      }
    }
    NameList names;
    for (int i = 0; i < 6; ++i) names.push_back(randomText(3, 15));
    names.push_back(names[0]);  // the same name twice gives its rows twice
    if (round % 5 == 0) names.push_back("a\\b");
    for (MatchMode mode : {MatchMode::Exact, MatchMode::Fuzzy}) {
      TextList expected;
      testing::ReferenceWalk(tree, folding, "R", names, mode, expected);
      Walk walk(tree, names, mode);
      ASSERT_EQ(walk.Rows("R"), expected) << "round " << round;
      totalRows += expected.size();
    }
  }
  EXPECT_GT(totalRows, 500u);
}

}  // namespace
}  // namespace tarnwell
