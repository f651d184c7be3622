#include "search/kept/kept_folders.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <thread>

#include "tests/support/fake_tree.h"
#include "tests/support/recording_sink.h"
#include "tests/support/scripted_watcher.h"
#include "search/kept/keeping_lister.h"
#include "search/search.h"

namespace tarnwell {
namespace {

using testing::FakeEntry;
using testing::FakeTree;
using testing::RecordingSink;
using testing::ReferenceFolding;
using testing::ScriptedWatcher;
using Action = FolderChange::Action;

const NameList kNames = {"p1", "note.txt", "new*", "k?pt"};

int TotalListings(const FakeTree& tree) {
  int total = 0;
  for (const auto& [folder, count] : tree.Listings()) total += count;
  return total;
}

// The folders a walk of `folder` lists.
int WalkedFolders(const FakeTree& tree, const Text& folder) {
  auto found = tree.Folders().find(folder);
  if (found == tree.Folders().end()) return 1;
  int folders = 1;
  for (const FakeEntry& entry : found->second) {
    if (entry.folder && !entry.link && entry.name.back() != '.') folders += WalkedFolders(tree, folder + "\\" + entry.name);
  }
  return folders;
}

TextList Reference(const FakeTree& tree, const Text& root, MatchMode mode) {
  ReferenceFolding folding;
  TextList rows;
  testing::ReferenceWalk(tree, folding, root, kNames, mode, rows);
  return rows;
}

// One search through a lister that keeps what it lists; its rows.
TextList SearchKept(const std::shared_ptr<KeptFolders>& kept, const DirectoryLister& system, const Text& root,
                    MatchMode mode, int threads = 2) {
  auto sink = std::make_shared<RecordingSink>(1);
  auto lister = std::make_shared<KeepingLister>(kept, system, TextList{root});
  auto search = Search::Start(kNames, {root}, mode, sink, lister, SearchOptions{1000, std::chrono::milliseconds(20), threads});
  sink->WaitForAllEnds();
  search->WaitForWalks(std::chrono::steady_clock::now() + std::chrono::seconds(60));
  return sink->Rows()[0];
}

// A tree below "D:\t" that changes as a user would change it, each change
// reported to the watches of the root as a watch reports it. With old names
// after a rename (as Wine does), changes below a renamed folder are reported
// under the folder's old name.
class ChangingTree {
 public:
  ChangingTree(FakeTree& tree, const ScriptedWatcher& watcher) : tree_(tree), watcher_(watcher) {}

  static Text Root() { return "D:\\t"; }
  Text Full(const Text& folder) const { return folder.empty() ? Root() : Root() + "\\" + folder; }

  void CreateFile(const Text& folder, const Text& name) {
    tree_.AddFile(Full(folder), name);
    Report({{Action::Added, Reported(Join(folder, name))}});
  }
  void DeleteFile(const Text& folder, const Text& name) {
    Remove(folder, name);
    Report({{Action::Removed, Reported(Join(folder, name))}});
  }
  void RenameFile(const Text& folder, const Text& from, const Text& to) {
    Rename(folder, from, to);
    Report({{Action::RenamedFrom, Reported(Join(folder, from))}, {Action::RenamedTo, Reported(Join(folder, to))}});
  }
  void CreateFolder(const Text& folder, const Text& name, const TextList& files) {
    tree_.AddSubfolder(Full(folder), name);
    Report({{Action::Added, Reported(Join(folder, name))}});
    for (const Text& file : files) CreateFile(Join(folder, name), file);
  }
  // Removed bottom up, each file and folder, as a delete of a subtree goes.
  void DeleteFolder(const Text& folder, const Text& name) {
    std::vector<FolderChange> changes;
    ReportRemovals(Join(folder, name), changes);
    Remove(folder, name);
    Report(changes);
  }
  // A folder with its files and a subfolder moves in from outside: one change.
  void MoveFolderIn(const Text& folder, const Text& name, const TextList& files, const Text& subfolder) {
    const Text path = Full(Join(folder, name));
    tree_.AddSubfolder(Full(folder), name);
    for (const Text& file : files) tree_.AddFile(path, file);
    tree_.AddSubfolder(path, subfolder);
    for (const Text& file : files) tree_.AddFile(path + "\\" + subfolder, file);
    Report({{Action::Added, Reported(Join(folder, name))}});
  }
  void MoveFolderOut(const Text& folder, const Text& name) {
    Remove(folder, name);
    Report({{Action::Removed, Reported(Join(folder, name))}});
  }
  void RenameFolder(const Text& folder, const Text& from, const Text& to) {
    const Text oldPath = Full(Join(folder, from));
    const Text newPath = Full(Join(folder, to));
    std::map<Text, std::vector<FakeEntry>> moved;
    for (const auto& [path, entries] : tree_.Folders()) {
      if (path == oldPath || path.starts_with(oldPath + "\\")) moved[newPath + path.substr(oldPath.size())] = entries;
    }
    for (auto& [path, entries] : moved) tree_.AddFolder(path, entries);
    Rename(folder, from, to);
    Report({{Action::RenamedFrom, Reported(Join(folder, from))}, {Action::RenamedTo, Reported(Join(folder, to))}});
    if (watcher_.OldNamesAfterRename()) renamed_.emplace_back(Join(folder, to), Reported(Join(folder, from)));
  }
  // More changes than the watch's buffer holds: the watch is lost.
  void Overflow(const TextList& folders) {
    for (const Text& folder : folders) tree_.AddFile(Full(folder), "new_many.txt");
    watcher_.Lose(Root());
  }
  void Report(const std::vector<FolderChange>& changes) { watcher_.Report(Root(), changes); }

 private:
  static Text Join(const Text& folder, const Text& name) { return folder.empty() ? name : folder + "\\" + name; }

  Text Reported(const Text& path) const {
    for (const auto& [now, before] : renamed_) {
      if (path == now || path.starts_with(now + "\\")) return before + path.substr(now.size());
    }
    return path;
  }
  void Remove(const Text& folder, const Text& name) {
    std::vector<FakeEntry> entries = tree_.Folders().at(Full(folder));
    std::erase_if(entries, [&](const FakeEntry& entry) { return entry.name == name; });
    tree_.AddFolder(Full(folder), entries);
  }
  void Rename(const Text& folder, const Text& from, const Text& to) {
    std::vector<FakeEntry> entries = tree_.Folders().at(Full(folder));
    for (FakeEntry& entry : entries) {
      if (entry.name == from) entry.name = to;
    }
    tree_.AddFolder(Full(folder), entries);
  }
  void ReportRemovals(const Text& path, std::vector<FolderChange>& changes) {
    for (const FakeEntry& entry : tree_.Folders().at(Full(path))) {
      if (entry.folder) {
        ReportRemovals(path + "\\" + entry.name, changes);
      } else {
        changes.push_back({Action::Removed, Reported(path + "\\" + entry.name)});
      }
    }
    changes.push_back({Action::Removed, Reported(path)});
  }

  FakeTree& tree_;
  const ScriptedWatcher& watcher_;
  std::vector<std::pair<Text, Text>> renamed_;  // (name now, name the watch goes on reporting)
};

void BuildTree(FakeTree& tree) {
  const Text root = ChangingTree::Root();
  tree.AddFolder(root, {{"p1.jpg"}, {"note.txt"}, {"other.doc"}});
  tree.AddSubfolder(root, "a");
  tree.AddSubfolder(root, "e");
  tree.AddSubfolder(root, "s");
  for (const char* file : {"P1.txt", "readme", "kept"}) tree.AddFile(root + "\\a", file);
  tree.AddSubfolder(root + "\\a", "b");
  tree.AddSubfolder(root + "\\a", "x");
  tree.AddSubfolder(root + "\\a", "link", true);
  for (const char* file : {"p1.png", "note.txt"}) tree.AddFile(root + "\\a\\b", file);
  tree.AddSubfolder(root + "\\a\\b", "c");
  for (const char* file : {"p1", "zz.txt"}) tree.AddFile(root + "\\a\\b\\c", file);
  tree.AddFile(root + "\\a\\x", "note.txt");
  tree.AddFile(root + "\\e", "p1.jpg");
  tree.AddSubfolder(root + "\\e", "f");
  tree.AddFile(root + "\\e\\f", "note.txt");
  tree.AddFile(root + "\\s", "kopt.txt");
}

constexpr int kEveryFolder = -1;

struct Step {
  const char* what;
  std::function<void(ChangingTree&)> change;
  // Folders the next search of the root lists: those the change made stale
  // and those new to the store; kEveryFolder when the root is walked anew.
  int listed;
  int listedWithOldNames;  // when the watch goes on naming renamed folders by their old names
  Text below;              // a folder below the root (relative) that is searched too
};

// After each change, a search of the root and one of a folder below it give
// the rows of a fresh walk, exact and fuzzy, and the root's search lists
// only the folders the change made stale (or every folder, when the store
// could not place the change).
class KeptSearchOracle : public ::testing::TestWithParam<bool> {};

TEST_P(KeptSearchOracle, EveryChangeGivesTheRowsOfAFreshWalk) {
  const bool oldNames = GetParam();
  const std::vector<Step> steps = {
      {"nothing changed", [](ChangingTree&) {}, 0, 0, "a\\b"},
      {"a file created at the root", [](ChangingTree& t) { t.CreateFile("", "new.txt"); }, 1, 1, "a"},
      {"a file created deep down", [](ChangingTree& t) { t.CreateFile("a\\b\\c", "new1.jpg"); }, 1, 1, "a\\b"},
      {"a file deleted", [](ChangingTree& t) { t.DeleteFile("a", "P1.txt"); }, 1, 1, "a"},
      {"a file renamed", [](ChangingTree& t) { t.RenameFile("a\\b", "p1.png", "new2.png"); }, 1, 1, "a\\b\\c"},
      {"a folder created with a file in it", [](ChangingTree& t) { t.CreateFolder("a", "n", {"new3.txt"}); }, 2, 2,
       "a\\n"},
      {"a folder deleted with its subtree", [](ChangingTree& t) { t.DeleteFolder("a", "b"); }, 1, 1, "a"},
      {"a folder moved in from outside",
       [](ChangingTree& t) { t.MoveFolderIn("", "m", {"p1.m", "note.txt"}, "k"); }, 3, 3, "m"},
      {"a folder moved out to outside", [](ChangingTree& t) { t.MoveFolderOut("", "e"); }, 1, 1, "m\\k"},
      {"a folder renamed", [](ChangingTree& t) { t.RenameFolder("", "a", "r"); }, 4, kEveryFolder, "r"},
      {"a file created in the renamed folder", [](ChangingTree& t) { t.CreateFile("r", "new4.txt"); }, 1,
       kEveryFolder, "r"},
      {"a folder renamed deep down, then a file in it",
       [](ChangingTree& t) {
         t.RenameFolder("r", "n", "n2");
         t.CreateFile("r\\n2", "new5.txt");
       },
       2, kEveryFolder, "r\\n2"},
      {"the watch's buffer overflowed", [](ChangingTree& t) { t.Overflow({"", "r\\x", "m\\k"}); }, kEveryFolder,
       kEveryFolder, "m"},
      {"a change in a folder the store cannot place",
       [](ChangingTree& t) { t.Report({{Action::Added, "ghost\\new6.txt"}}); }, kEveryFolder, kEveryFolder, "s"},
      {"nothing changed since the root was walked anew", [](ChangingTree&) {}, 0, 0, "r\\x"},
  };
  FakeTree tree;
  BuildTree(tree);
  ScriptedWatcher watcher(oldNames);
  auto kept = std::make_shared<KeptFolders>(watcher);
  ChangingTree changing(tree, watcher);
  const Text root = ChangingTree::Root();
  ASSERT_EQ(SearchKept(kept, tree, root, MatchMode::Exact), Reference(tree, root, MatchMode::Exact));
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.change(changing);
    const int expected = oldNames ? step.listedWithOldNames : step.listed;
    for (MatchMode mode : {MatchMode::Exact, MatchMode::Fuzzy}) {
      const int before = TotalListings(tree);
      EXPECT_EQ(SearchKept(kept, tree, root, mode), Reference(tree, root, mode));
      const int listed = TotalListings(tree) - before;
      if (mode == MatchMode::Exact) {
        EXPECT_EQ(listed, expected == kEveryFolder ? WalkedFolders(tree, root) : expected);
      } else {
        EXPECT_EQ(listed, 0) << "nothing changed since the exact search";
      }
      const Text below = changing.Full(step.below);
      EXPECT_EQ(SearchKept(kept, tree, below, mode), Reference(tree, below, mode));
      EXPECT_EQ(TotalListings(tree) - before, listed) << "a folder below a kept root is answered from it";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Watches, KeptSearchOracle, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& watch) {
                           return watch.param ? "OldNamesAfterRename" : "NamesFollowRenames";
                         });

// Rows always start with the root as the search names it, whichever form of
// the kept root answers them.
TEST(KeptFolders, RowsComeFromTheRootAsTyped) {
  FakeTree tree;
  BuildTree(tree);
  const Text root = ChangingTree::Root();
  // Two-byte characters whose second byte is a capital letter or a "\":
  // neither is folded nor taken for a separator.
  tree.AddSubfolder(root + "\\e", "\x81\x41");
  tree.AddFile(root + "\\e\\\x81\x41", "p1.txt");
  tree.AddSubfolder(root + "\\e", "\x81\x61");
  tree.AddFile(root + "\\e\\\x81\x61", "note.txt");
  tree.AddSubfolder(root + "\\e", "\x95\x5C");
  tree.AddFile(root + "\\e\\\x95\x5C", "kept");
  ScriptedWatcher watcher;
  auto kept = std::make_shared<KeptFolders>(watcher);
  SearchKept(kept, tree, root, MatchMode::Exact);
  const int listed = TotalListings(tree);
  struct Form {
    Text typed;
    Text folder;  // the folder it names in the tree
  };
  for (const Form& form : std::vector<Form>{{"d:\\T\\A\\", "D:\\t\\a"},
                                            {"D:\\\\t\\a", "D:\\t\\a"},
                                            {"D:\\T\\", "D:\\t"},
                                            {"d:\\t\\A\\b\\C", "D:\\t\\a\\b\\c"},
                                            {"d:\\T\\E\\\x81\x41", "D:\\t\\e\\\x81\x41"},
                                            {"D:\\t\\e\\\x81\x61\\", "D:\\t\\e\\\x81\x61"},
                                            {"D:\\T\\e\\\x95\x5C", "D:\\t\\e\\\x95\x5C"}}) {
    SCOPED_TRACE(form.typed);
    for (MatchMode mode : {MatchMode::Exact, MatchMode::Fuzzy}) {
      TextList expected = Reference(tree, form.folder, mode);
      for (Text& row : expected) row = form.typed + "\\" + row.substr(form.folder.size() + 1);
      // The tree knows none of these forms: every row comes from the store.
      EXPECT_EQ(SearchKept(kept, tree, form.typed, mode), expected);
    }
  }
  EXPECT_EQ(TotalListings(tree), listed);
  EXPECT_EQ(watcher.Armed(), 1);
}

// What keeps a root from being kept, or drops it: each case, then the next
// search lists every folder again (and gives a fresh walk's rows).
TEST(KeptFolders, EveryDoubtWalksTheRootAnew) {
  struct Case {
    const char* what;
    std::function<void(ScriptedWatcher&, KeptFolders&)> doubt;
  };
  const Text root = ChangingTree::Root();
  const std::vector<Case> cases = {
      {"the watch cannot be armed", [&](ScriptedWatcher& w, KeptFolders&) { w.Refuse(root); }},
      {"the watch is lost", [&](ScriptedWatcher& w, KeptFolders&) { w.Lose(root); }},
      {"a change below a link", [&](ScriptedWatcher& w, KeptFolders&) { w.Report(root, {{Action::Added, "a\\link\\q"}}); }},
      {"a change naming a file as a folder",
       [&](ScriptedWatcher& w, KeptFolders&) { w.Report(root, {{Action::Added, "a\\kept\\q"}}); }},
      {"a change of no name", [&](ScriptedWatcher& w, KeptFolders&) { w.Report(root, {{Action::Added, ""}}); }},
      {"the store closed", [&](ScriptedWatcher&, KeptFolders& k) { k.Close(); }},
      // The watch follows its folder: no change tells that the path now leads elsewhere.
      {"the root renamed and another made in its place", [&](ScriptedWatcher& w, KeptFolders&) { w.Replace(root); }},
      {"its volume gone", [&](ScriptedWatcher& w, KeptFolders&) { w.RemoveVolume("D:"); }},
      {"its drive ejected", [&](ScriptedWatcher&, KeptFolders& k) { k.DropVolume("d:\\"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeTree tree;
    BuildTree(tree);
    ScriptedWatcher watcher;
    auto kept = std::make_shared<KeptFolders>(watcher);
    if (std::string_view(c.what) == "the watch cannot be armed") c.doubt(watcher, *kept);
    SearchKept(kept, tree, root, MatchMode::Exact);
    c.doubt(watcher, *kept);
    if (std::string_view(c.what) == "its volume gone") {
      // Nothing of it is answered from memory, and no watch holds it.
      EXPECT_EQ(SearchKept(kept, tree, root, MatchMode::Exact), Reference(tree, root, MatchMode::Exact));
      EXPECT_EQ(watcher.Live(), 0);
      continue;
    }
    tree.AddFile(root + "\\a\\x", "new.txt");  // a change the store was not told of in time
    const int before = TotalListings(tree);
    EXPECT_EQ(SearchKept(kept, tree, root, MatchMode::Fuzzy), Reference(tree, root, MatchMode::Fuzzy));
    EXPECT_EQ(TotalListings(tree) - before, WalkedFolders(tree, root));
  }
}

// Two kept roots, one inside the other, armed in either order. However the
// system spreads a change among their watches (under Wine only the watch
// armed first on a folder hears of it), a search of either gives a fresh
// walk's rows; and once the watch that heard closes, both are walked anew.
TEST(KeptFolders, NestedRootsStayTrueWhicheverWatchHears) {
  const Text root = ChangingTree::Root();
  for (bool innerFirst : {true, false}) {
    SCOPED_TRACE(innerFirst ? "the inner root armed first" : "the outer root armed first");
    FakeTree tree;
    BuildTree(tree);
    ScriptedWatcher watcher;
    auto kept = std::make_shared<KeptFolders>(watcher);
    Text inner = root + "\\a";
    if (innerFirst) {
      SearchKept(kept, tree, inner, MatchMode::Exact);
      SearchKept(kept, tree, root, MatchMode::Exact);
    } else {
      SearchKept(kept, tree, root, MatchMode::Exact);
      // A folder the outer root does not hold yet gets a root of its own.
      inner = root + "\\n";
      tree.AddSubfolder(root, "n");
      tree.AddFile(inner, "p1.txt");
      watcher.Report(root, {{Action::Added, "n"}});
      SearchKept(kept, tree, inner, MatchMode::Exact);
    }
    ASSERT_EQ(watcher.Live(), 2);
    const Text heard = innerFirst ? inner : root;
    tree.AddFile(inner, "new1.txt");
    watcher.Report(heard, {{Action::Added, heard == root ? inner.substr(root.size() + 1) + "\\new1.txt" : "new1.txt"}});
    for (const Text& searched : {root, inner}) {
      for (MatchMode mode : {MatchMode::Exact, MatchMode::Fuzzy}) {
        EXPECT_EQ(SearchKept(kept, tree, searched, mode), Reference(tree, searched, mode)) << searched;
      }
    }
    watcher.Lose(heard);
    tree.AddFile(inner, "new2.txt");
    const int before = TotalListings(tree);
    EXPECT_EQ(SearchKept(kept, tree, root, MatchMode::Fuzzy), Reference(tree, root, MatchMode::Fuzzy));
    EXPECT_EQ(TotalListings(tree) - before, WalkedFolders(tree, root));
  }
}

// A change that comes while its folder is being listed: the listing may
// hold the folder as it was, so it is not kept as fresh.
TEST(KeptFolders, AChangeDuringTheListingOfItsFolderKeepsItStale) {
  FakeTree tree;
  BuildTree(tree);
  ScriptedWatcher watcher;
  const Text root = ChangingTree::Root();
  // Lists, and then, before the listing is handed back, the folder changes.
  class ChangingAfterListing final : public DirectoryLister {
   public:
    ChangingAfterListing(FakeTree& tree, std::function<void(const Text&)> after) : tree_(tree), after_(std::move(after)) {}
    ListingOutcome List(const Text& folder, DirectoryListing& listing) const override {
      ListingOutcome outcome = tree_.List(folder, listing);
      after_(folder);
      return outcome;
    }

   private:
    FakeTree& tree_;
    std::function<void(const Text&)> after_;
  };
  for (const Text& changed : TextList{"D:\\t", "D:\\t\\a\\b", "D:\\t\\e\\f"}) {
    SCOPED_TRACE(changed);
    auto kept = std::make_shared<KeptFolders>(watcher);
    bool done = false;
    ChangingAfterListing lister(tree, [&](const Text& folder) {
      if (done || folder != changed) return;
      done = true;
      const Text name = "new_during.txt";
      tree.AddFile(folder, name);
      watcher.Report(root, {{Action::Added, folder == root ? name : folder.substr(root.size() + 1) + "\\" + name}});
    });
    SearchKept(kept, lister, root, MatchMode::Exact, 1);
    const int before = TotalListings(tree);
    EXPECT_EQ(SearchKept(kept, lister, root, MatchMode::Fuzzy, 1), Reference(tree, root, MatchMode::Fuzzy));
    EXPECT_EQ(TotalListings(tree) - before, 1);
  }
}

// Changes reported on the watch's thread while walks with helpers read and
// fill the store: every search gives the rows of a fresh walk (the changes
// name files whose folders stay as they are), and the store is not torn.
TEST(KeptFolders, ChangesFromAnotherThreadWhileWalksRead) {
  FakeTree tree;
  BuildTree(tree);
  ScriptedWatcher watcher;
  auto kept = std::make_shared<KeptFolders>(watcher);
  const Text root = ChangingTree::Root();
  std::atomic<bool> stop{false};
  std::thread reporter([&] {
    const TextList folders = {"", "a", "a\\b", "a\\b\\c", "e\\f", "s"};
    for (std::size_t i = 0; !stop.load(); ++i) {
      const Text& folder = folders[i % folders.size()];
      watcher.Report(root, {{Action::Modified, folder.empty() ? Text("note.txt") : folder + "\\note.txt"}});
      std::this_thread::yield();
    }
  });
  for (int round = 0; round < 40; ++round) {
    const MatchMode mode = round % 2 == 0 ? MatchMode::Exact : MatchMode::Fuzzy;
    ASSERT_EQ(SearchKept(kept, tree, root, mode, 4), Reference(tree, root, mode)) << round;
    ASSERT_EQ(SearchKept(kept, tree, root + "\\a", mode, 4), Reference(tree, root + "\\a", mode)) << round;
  }
  stop = true;
  reporter.join();
  EXPECT_EQ(kept->Figures().roots, 1u);
}

// Beyond its limits the store drops the root kept longest ago, and keeps
// the others.
TEST(KeptFolders, BeyondItsLimitsTheOldestRootGoes) {
  FakeTree tree;
  for (const char* root : {"D:\\one", "D:\\two", "D:\\three"}) {
    tree.AddFolder(root, {{"p1.txt"}, {"note.txt"}});
    tree.AddSubfolder(root, "sub");
    tree.AddFile(Text(root) + "\\sub", "p1.jpg");
  }
  struct Case {
    const char* what;
    KeptFoldersLimits limits;
  };
  for (const Case& c : std::vector<Case>{{"entries", {9, std::size_t{1} << 30, 64}},
                                         {"bytes", {1000, 0, 64}},
                                         {"roots", {1000, std::size_t{1} << 30, 2}}}) {
    SCOPED_TRACE(c.what);
    ScriptedWatcher watcher;
    KeptFoldersLimits limits = c.limits;
    if (limits.bytes == 0) {
      // Room for two of the roots: measured on one.
      auto probe = std::make_shared<KeptFolders>(watcher);
      SearchKept(probe, tree, "D:\\one", MatchMode::Exact);
      limits.bytes = 2 * probe->Figures().bytes + probe->Figures().bytes / 2;
    }
    auto kept = std::make_shared<KeptFolders>(watcher, limits);
    for (const char* root : {"D:\\one", "D:\\two", "D:\\three"}) SearchKept(kept, tree, root, MatchMode::Exact);
    EXPECT_EQ(kept->Figures().roots, 2u);
    for (const char* root : {"D:\\two", "D:\\three"}) {
      const int before = TotalListings(tree);
      EXPECT_EQ(SearchKept(kept, tree, root, MatchMode::Exact), Reference(tree, root, MatchMode::Exact));
      EXPECT_EQ(TotalListings(tree) - before, 0) << root;
    }
    EXPECT_LE(kept->Figures().entries, limits.entries);
    EXPECT_LE(kept->Figures().bytes, limits.bytes);
    EXPECT_EQ(watcher.Live(), 2);
  }
}

// A failed or missing listing is never answered from the store.
TEST(KeptFolders, AFailedListingIsListedAgainNextTime) {
  FakeTree tree;
  BuildTree(tree);
  ScriptedWatcher watcher;
  auto kept = std::make_shared<KeptFolders>(watcher);
  const Text root = ChangingTree::Root();
  tree.FailListings(root + "\\a\\b\\c", 2);  // the walk's second try fails too
  SearchKept(kept, tree, root, MatchMode::Exact);
  const int before = TotalListings(tree);
  EXPECT_EQ(SearchKept(kept, tree, root, MatchMode::Exact), Reference(tree, root, MatchMode::Exact));
  EXPECT_EQ(TotalListings(tree) - before, 1);
  EXPECT_EQ(SearchKept(kept, tree, "D:\\nothing", MatchMode::Exact), TextList{});
  EXPECT_EQ(SearchKept(kept, tree, "D:\\nothing", MatchMode::Exact), TextList{});
  EXPECT_EQ(tree.Listings().at("D:\\nothing"), 2);
}

// Only roots that name one folder whatever the working directory are kept.
TEST(KeptFolders, RelativeRootsAreNotKept) {
  FakeTree tree;
  ScriptedWatcher watcher;
  auto kept = std::make_shared<KeptFolders>(watcher);
  for (const char* root : {"t", "D:t", "\\t", ".", "", "./t"}) {
    tree.AddFolder(root, {{"p1.txt"}});
    SearchKept(kept, tree, root, MatchMode::Exact);
    SearchKept(kept, tree, root, MatchMode::Exact);
    EXPECT_EQ(tree.Listings().at(root), 2) << root;
  }
  EXPECT_EQ(watcher.Armed(), 0);
}

}  // namespace
}  // namespace tarnwell
