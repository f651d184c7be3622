#include "search/walk/walk_directory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include "tests/support/fake_tree.h"
#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

using testing::FakeTree;

struct Collected final : WalkOutput {
  void Row(const Text& folder, std::string_view name, std::uint32_t) override {
    rows.push_back(Concat(folder, "\\", name));
  }
  void FolderSearched(const Text& folder) override {
    folders.push_back(folder);
    if (onFolder) onFolder(folder);
  }
  void FolderFailed(const Text& folder, std::uint32_t) override { failed.push_back(folder); }
  TextList rows;
  TextList failed;
  TextList folders;
  std::function<void(const Text&)> onFolder;
};

// Threads that change after every listing, up and down, through every
// change a pool must take while walks go on: helpers started, sent to rest
// in the middle of their work, woken again, the walk left alone.
class ChangingThreads final : public ListingThreadChoice {
 public:
  int Threads() const override { return kThreads[next_ % std::size(kThreads)]; }
  int MostThreads() const override { return 32; }
  void PeriodEnded(const ListingPeriod&) override { ++next_; }

 private:
  static constexpr int kThreads[] = {1, 8, 3, 32, 2, 1, 1, 16, 4};
  std::size_t next_ = 0;
};

// A walk of a fake tree by `threads` threads: the walk's own and a pool of
// helpers listing ahead of it (none for 1; for 0, ChangingThreads).
struct Walk {
  Walk(const FakeTree& fakeTree, NameList names, MatchMode initialMode = MatchMode::Exact, int threads = 1,
       ListingLimits limits = {}, NumberRule numbers = NumberRule::Off)
      : tree(fakeTree), matcher(std::make_shared<const NameList>(std::move(names)), numbers), readMode([this] {
          ++modeReads;
          return mode;
        }),
        mode(initialMode),
        pool(threads > 1    ? std::make_unique<ListingPool>(threads - 1, limits)
             : threads == 0 ? std::make_unique<ListingPool>(std::make_unique<ChangingThreads>(), limits,
                                                            ListingPeriodLength{0, 1, 0, 1})
                            : nullptr) {}

  TextList Rows(const Text& root) {
    Collected collected;
    return Rows(root, collected);
  }
  TextList Rows(const Text& root, Collected& collected) {
    finished = tarnwell::WalkDirectory(root, WalkInputs{tree, matcher, readMode, cancelled, pool.get()}, collected);
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
  std::unique_ptr<ListingPool> pool;
};

// Every test of the walk runs with the walk alone, with helpers listing
// ahead of it and with helpers whose number changes all along: the rows,
// folders and listings must not change.
class WalkDirectory : public ::testing::TestWithParam<int> {
 protected:
  int Threads() const { return GetParam(); }
  Walk MakeWalk(const FakeTree& tree, NameList names, MatchMode mode = MatchMode::Exact) {
    return Walk(tree, std::move(names), mode, Threads());
  }
};

TEST_P(WalkDirectory, RowsPerFolderFollowTheNameListThenTheListingOrder) {
  FakeTree tree;
  tree.AddFolder("R", {{"b.txt"}, {"a.txt"}, {"ab"}, {"data", true}, {"A.TXT.old"}});
  tree.AddFile("R\\data", "a");
  tree.AddSubfolder("R", "z");
  tree.AddFile("R\\z", "ab.a");
  Walk walk = MakeWalk(tree, {"ab", "a.txt", "data", "a"});
  EXPECT_EQ(walk.Rows("R"), (TextList{"R\\ab", "R\\a.txt", "R\\A.TXT.old", "R\\a.txt", "R\\A.TXT.old",
                                      "R\\data\\a", "R\\z\\ab.a"}));
  EXPECT_TRUE(walk.finished);
  EXPECT_EQ(walk.folders, (TextList{"R", "R\\data", "R\\z"}));
}

TEST_P(WalkDirectory, RootsAreTakenAsTheyAre) {
  FakeTree tree;
  tree.AddFolder("C:", {{"boot.ini"}});
  tree.AddSubfolder("C:", "Windows");
  tree.AddFile("C:\\Windows", "boot.ini");
  tree.AddFolder("D:\\", {{"x"}});
  EXPECT_EQ(MakeWalk(tree, {"boot"}).Rows("C:"), (TextList{"C:\\boot.ini", "C:\\Windows\\boot.ini"}));
  EXPECT_EQ(MakeWalk(tree, {"x"}).Rows("D:\\"), TextList{"D:\\\\x"});
}

TEST_P(WalkDirectory, SkipsReparsePointsAndNamesEndingInADotButListsHiddenOnes) {
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
  Walk walk = MakeWalk(tree, {"a"}, MatchMode::Fuzzy);
  EXPECT_EQ(walk.Rows("R"), (TextList{"R\\.hidden\\a", "R\\.hidden\\.a", "R\\昞\\a"_gbk}));
  EXPECT_EQ(tree.Listings(), (std::map<Text, int>{{"R", 1}, {"R\\.hidden", 1}, {"R\\昞"_gbk, 1}}));
}

TEST_P(WalkDirectory, AFolderThatCannotBeListedIsANonEvent) {
  FakeTree tree;
  tree.AddFolder("R", {{"gone", true}, {"a"}});
  tree.AddSubfolder("R", "next");
  tree.AddFile("R\\next", "a");
  Walk walk = MakeWalk(tree, {"a"});
  EXPECT_EQ(walk.Rows("R"), (TextList{"R\\a", "R\\next\\a"}));
  EXPECT_EQ(walk.folders, (TextList{"R", "R\\gone", "R\\next"}));
  EXPECT_TRUE(MakeWalk(tree, {"a"}).Rows("missing").empty());
}

// A folder whose read stops midway is listed once more, by the walk; only
// when that fails too is it a failed folder, with the rows of what was read.
TEST_P(WalkDirectory, AFailedListingIsListedOnceMoreThenCountedAsFailed) {
  FakeTree tree;
  tree.AddFolder("R", {{"a"}, {"b"}, {"c"}, {"d"}});
  tree.AddSubfolder("R", "once");
  tree.AddFolder("R\\once", {{"a"}, {"b"}, {"c"}, {"d"}});
  tree.AddSubfolder("R", "always");
  tree.AddFolder("R\\always", {{"a"}, {"b"}, {"c"}, {"d"}});
  tree.FailListings("R\\once", 1);
  tree.FailListings("R\\always", 1000);
  Walk walk = MakeWalk(tree, {"a", "c"});
  Collected collected;
  EXPECT_EQ(walk.Rows("R", collected),
            (TextList{"R\\a", "R\\c", "R\\once\\a", "R\\once\\c", "R\\always\\a"}));
  EXPECT_EQ(collected.failed, TextList{"R\\always"});
  EXPECT_EQ(tree.Listings(), (std::map<Text, int>{{"R", 1}, {"R\\once", 2}, {"R\\always", 2}}));
}

TEST_P(WalkDirectory, ReadsTheModeOncePerFolderAndAppliesItFromThatFolderOn) {
  FakeTree tree;
  tree.AddFile("R", "xa");
  tree.AddSubfolder("R", "s");
  tree.AddFile("R\\s", "xa");
  tree.AddSubfolder("R\\s", "t");
  tree.AddFile("R\\s\\t", "xa");
  Walk walk = MakeWalk(tree, {"a"});
  walk.readMode = [&] { return ++walk.modeReads == 2 ? MatchMode::Fuzzy : MatchMode::Exact; };
  EXPECT_EQ(walk.Rows("R"), TextList{"R\\s\\xa"});
  EXPECT_EQ(walk.modeReads, 3);
}

TEST_P(WalkDirectory, CancellationStopsTheWalkAtOnce) {
  FakeTree tree;
  for (int i = 0; i < 10; ++i) {
    Text folder = "R\\" + NumberToText(i);
    tree.AddSubfolder("R", NumberToText(i));
    tree.AddFile(folder, "a");
  }
  Walk walk = MakeWalk(tree, {"a"});
  std::atomic<int> listed{0};
  std::atomic<int> listedOnceCancelled{0};
  tree.OnList([&](const Text&) {
    if (walk.cancelled) ++listedOnceCancelled;
    if (++listed == 5) walk.cancelled = true;
  });
  TextList rows = walk.Rows("R");
  EXPECT_FALSE(walk.finished);
  if (Threads() == 1) {
    // The folder being listed when the flag was set gives no rows; nothing is listed after it.
    EXPECT_EQ(rows, (TextList{"R\\0\\a", "R\\1\\a", "R\\2\\a"}));
    EXPECT_EQ(listed, 5);
  } else {
    // The rows so far, in order; each thread starts at most the listing it
    // had decided on, and nothing lists for the walk once it has returned.
    TextList all;
    for (int i = 0; i < 10; ++i) all.push_back("R\\" + NumberToText(i) + "\\a");
    ASSERT_LE(rows.size(), all.size());
    EXPECT_EQ(rows, TextList(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(rows.size())));
    // With changing threads, as many as the choice can ever have.
    EXPECT_LE(listedOnceCancelled, Threads() == 0 ? 32 : Threads());
    EXPECT_EQ(tree.Listings().size(), static_cast<std::size_t>(listed.load()));
  }
}

TEST_P(WalkDirectory, WalksPathsLongerThanAnyWindowsPath) {
  FakeTree tree;
  Text folder = "R";
  const Text name(250, 'd');  // near the longest name a folder can have
  for (int depth = 0; depth < 132; ++depth) {
    tree.AddSubfolder(folder, name);
    folder += "\\" + name;
  }
  ASSERT_GT(folder.size(), 32767u);
  tree.AddFile(folder, "deep.txt");
  EXPECT_EQ(MakeWalk(tree, {"deep"}).Rows("R"), TextList{folder + "\\deep.txt"});
}

// Random trees and random name lists: the rows, in order, are those of the
// reference walk that lists every folder once per wanted name.
TEST_P(WalkDirectory, GivesTheRowsOfListingEachFolderOncePerName) {
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
      std::map<Text, int> listed = tree.Listings();
      Walk walk = MakeWalk(tree, names, mode);
      ASSERT_EQ(walk.Rows("R"), expected) << "round " << round;
      // Each folder listed once per time the walk enters it (a name can be
      // there twice), whoever listed it.
      std::function<void(const Text&)> enter = [&](const Text& folder) {
        ++listed[folder];
        for (const testing::FakeEntry& entry : tree.Folders().at(folder)) {
          if (entry.folder && !entry.link && entry.name.back() != '.') enter(folder + "\\" + entry.name);
        }
      };
      enter("R");
      ASSERT_EQ(tree.Listings(), listed) << "round " << round;
      totalRows += expected.size();
    }
  }
  EXPECT_GT(totalRows, 500u);
}

// The number rule against the brute-force reference on random trees of
// photo-like names: every wanted number against every digit run of every
// file name. The names mix numbers with leading zeros, the same number
// twice, and names of other kinds, which keep their mode's rules.
TEST_P(WalkDirectory, TheNumberRuleGivesTheRowsOfEveryWantedNumberAgainstEveryDigitRun) {
  // Digits, a "." that ends the part looked at, a four-byte character whose
  // bytes hold digits, and the characters around photo numbers.
  const TextList alphabet = {"0", "0", "1", "2", "12", "_", ".", "IMG", "a", "-", "\x81\x30\x8A\x39", "中"_gbk};
  std::mt19937 random(2026);
  auto randomText = [&](int maxParts) {
    Text text;
    for (int i = 0, parts = 1 + static_cast<int>(random() % maxParts); i < parts; ++i) {
      text += alphabet[random() % alphabet.size()];
    }
    return text;
  };
  auto randomNumber = [&] {
    Text number(random() % 3, '0');
    return number + NumberToText(static_cast<std::int32_t>(random() % 130));
  };
  testing::ReferenceFolding folding;
  std::size_t numberRows = 0;
  for (int round = 0; round < 30; ++round) {
    FakeTree tree;
    TextList folders = {"R"};
    tree.AddFolder("R");
    for (int i = 0; i < 80; ++i) {
      const Text& parent = folders[random() % folders.size()];
      if (random() % 6 == 0) {
        Text name = randomText(3);
        tree.AddSubfolder(parent, name);
        folders.push_back(parent + "\\" + name);
      } else {
        tree.AddFile(parent, random() % 2 ? randomText(6) : "IMG_" + randomNumber() + (random() % 2 ? ".JPG" : ""));
      }
    }
    NameList names;
    for (int i = 0; i < 8; ++i) names.push_back(random() % 4 ? randomNumber() : randomText(2));
    names.push_back(names[0]);  // the same number twice gives its rows twice
    names.push_back("12345678901234567890123");  // longer than any integer
    for (MatchMode mode : {MatchMode::Exact, MatchMode::Fuzzy}) {
      TextList expected;
      testing::ReferenceWalk(tree, folding, "R", names, mode, expected, NumberRule::On);
      Walk walk(tree, names, mode, Threads(), {}, NumberRule::On);
      ASSERT_EQ(walk.Rows("R"), expected) << "round " << round;
      numberRows += expected.size();
    }
  }
  EXPECT_GT(numberRows, 500u);
}

INSTANTIATE_TEST_SUITE_P(Threads, WalkDirectory, ::testing::Values(1, 2, 8, 0),
                         [](const ::testing::TestParamInfo<int>& threads) {
                           return threads.param == 0 ? Text("changing") : NumberToText(threads.param);
                         });

// A tree below "R" of `folders` folders, each holding `files` files named
// "file" and a number, with names of ten bytes.
void AddWideTree(FakeTree& tree, int folders, int files) {
  tree.AddFolder("R");
  for (int f = 0; f < folders; ++f) {
    Text name = "d" + NumberToText(f);
    tree.AddSubfolder("R", name);
    for (int i = 0; i < files; ++i) tree.AddFile("R\\" + name, "file" + Text(6 - NumberToText(i).size(), '0') + NumberToText(i));
  }
}

// Calls `done` until it gives true (a fault after 60 s rather than a hang).
void WaitUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 60000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_TRUE(done());
}

// The check that folders are taken in walk order is on in every build: a
// breach would hand the walk another folder's listing, so the process ends.
TEST(WalkAheadDeathTest, TakingAFolderOutOfWalkOrderEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  FakeTree tree;
  AddWideTree(tree, 3, 1);
  EXPECT_DEATH(
      {
        // No listing ahead: the subfolders wait in the queue, first one first.
        ListingPool pool(1, ListingLimits{0, 0});
        std::atomic<bool> cancelled{false};
        WalkListings listings(&pool, tree, cancelled);
        WalkFolder& root = listings.Root("R");
        listings.Take(root);
        listings.Take(root.Subfolder(1));
      },
      "broken invariant");
}

// With the walk held in its first folder, the helpers list ahead until the
// limit stops them: exactly that many folders, then nothing more.
TEST(WalkAhead, HoldsNoMoreFoldersAheadOfTheWalkThanTheLimit) {
  for (int threads : {2, 8}) {
    FakeTree tree;
    AddWideTree(tree, 100, 2);
    Walk walk(tree, {"file000001"}, MatchMode::Exact, threads, ListingLimits{16, std::size_t{1} << 30});
    Collected collected;
    std::size_t listedWhileHeld = 0;
    collected.onFolder = [&](const Text& folder) {
      if (folder != "R") return;
      WaitUntil([&] { return tree.Listings().size() >= 17 && walk.pool->IdleHelpers() == threads - 1; });
      listedWhileHeld = tree.Listings().size();
    };
    TextList rows = walk.Rows("R", collected);
    EXPECT_EQ(listedWhileHeld, 1u + 16) << threads << " threads";
    EXPECT_EQ(rows.size(), 100u);
    EXPECT_EQ(tree.Listings().size(), 101u);
  }
}

// The same with a limit of bytes: folders of 10 entries of 10 bytes hold 220
// bytes each, so the helpers stop once five of them are listed ahead (more
// only by the listings already under way).
TEST(WalkAhead, StartsNoListingAheadOnceTheListingsAheadHoldTheByteLimit) {
  for (int threads : {2, 8}) {
    FakeTree tree;
    AddWideTree(tree, 100, 10);
    Walk walk(tree, {"file000001"}, MatchMode::Exact, threads, ListingLimits{1000, 1000});
    Collected collected;
    std::size_t aheadWhileHeld = 0;
    collected.onFolder = [&](const Text& folder) {
      if (folder != "R") return;
      WaitUntil([&] { return tree.Listings().size() >= 1 + 5 && walk.pool->IdleHelpers() == threads - 1; });
      aheadWhileHeld = tree.Listings().size() - 1;
    };
    EXPECT_EQ(walk.Rows("R", collected).size(), 100u);
    EXPECT_GE(aheadWhileHeld, 5u) << threads << " threads";
    EXPECT_LE(aheadWhileHeld, 5u + threads - 2) << threads << " threads";
  }
}

// Two walks share one helper: it takes turns between them, never listing
// ahead of one walk while the other has fewer listings ahead.
TEST(WalkAhead, HelpersTakeTurnsBetweenTheWalksOfASearch) {
  FakeTree tree;
  for (const char* root : {"A", "B"}) {
    tree.AddFolder(root);
    for (int f = 0; f < 30; ++f) {
      tree.AddSubfolder(root, "d" + NumberToText(f));
      tree.AddFile(Concat(root, "\\d", NumberToText(f)), "x");
    }
  }
  ListingPool pool(1);
  std::mutex mutex;
  std::condition_variable changed;
  int held = 0;  // walks held in their root until the helper has listed everything
  bool release = false;
  std::string order;  // the root of every folder the helper lists, in turn
  tree.OnList([&](const Text& folder) {
    if (folder.size() == 1) return;  // a walk lists its own root
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return held == 2; });
    order += folder[0];
  });
  auto walkOf = [&](const Text& root) {
    NameMatcher matcher(std::make_shared<const NameList>(NameList{"x"}));
    std::function<MatchMode()> mode = [] { return MatchMode::Exact; };
    std::atomic<bool> cancelled{false};
    Collected collected;
    collected.onFolder = [&](const Text& folder) {
      if (folder != root) return;
      std::unique_lock lock(mutex);
      ++held;
      changed.notify_all();
      changed.wait(lock, [&] { return release; });
    };
    tarnwell::WalkDirectory(root, WalkInputs{tree, matcher, mode, cancelled, &pool}, collected);
    return collected.rows.size();
  };
  std::size_t rowsOfB = 0;
  std::thread walkB([&] { rowsOfB = walkOf("B"); });
  std::thread releaser([&] {
    WaitUntil([&] {
      std::lock_guard lock(mutex);
      return order.size() == 60;
    });
    std::lock_guard lock(mutex);
    release = true;
    changed.notify_all();
  });
  EXPECT_EQ(walkOf("A"), 30u);
  walkB.join();
  releaser.join();
  EXPECT_EQ(rowsOfB, 30u);
  ASSERT_EQ(order.size(), 60u);
  for (std::size_t n = 1; n <= order.size(); ++n) {
    auto a = std::count(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(n), 'A');
    ASSERT_LE(std::abs(2 * a - static_cast<std::ptrdiff_t>(n)), 2) << order;
  }
}

TEST(WalkAhead, TheEnvironmentFixesTheThreadsOnlyWithACountFrom1To64) {
  const char* saved = std::getenv("TARNWELL_WALK_THREADS");
  std::string kept = saved ? saved : "";
  unsetenv("TARNWELL_WALK_THREADS");
  EXPECT_EQ(WalkThreadsFromEnvironment(), std::nullopt);
  for (const char* ignored : {"", "0", "65", "3x", "-2"}) {
    setenv("TARNWELL_WALK_THREADS", ignored, 1);
    EXPECT_EQ(WalkThreadsFromEnvironment(), std::nullopt) << ignored;
  }
  setenv("TARNWELL_WALK_THREADS", "1", 1);
  EXPECT_EQ(WalkThreadsFromEnvironment(), 1);
  EXPECT_EQ(NewListingPool(0), nullptr);  // the walk alone
  setenv("TARNWELL_WALK_THREADS", "64", 1);
  EXPECT_EQ(WalkThreadsFromEnvironment(), 64);
  if (saved) {
    setenv("TARNWELL_WALK_THREADS", kept.c_str(), 1);
  } else {
    unsetenv("TARNWELL_WALK_THREADS");
  }
}

}  // namespace
}  // namespace tarnwell
