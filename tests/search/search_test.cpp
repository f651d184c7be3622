#include "search/search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <thread>

#include "tests/support/fake_tree.h"
#include "tests/support/recording_sink.h"
#include "platform/text/gbk_literal.h"

namespace tarnwell {
namespace {

using testing::FakeTree;
using testing::RecordingSink;
using namespace std::chrono_literals;

void WaitUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 6000 && !done(); ++i) std::this_thread::sleep_for(10ms);
  ASSERT_TRUE(done());
}

// A tree of `folders` folders below `root`, each holding a few files that
// match "a" (fuzzy) and a few that do not.
void AddTree(FakeTree& tree, const Text& root, int folders) {
  TextList made = {root};
  tree.AddFolder(root);
  for (int i = 1; i < folders; ++i) {
    const Text& parent = made[(i * 7) % made.size()];
    Text name = "f" + NumberToText(i);
    tree.AddSubfolder(parent, name);
    made.push_back(parent + "\\" + name);
  }
  for (std::size_t i = 0; i < made.size(); ++i) {
    for (int k = 0; k < static_cast<int>(i % 4); ++k) tree.AddFile(made[i], "a" + NumberToText(k) + ".txt");
    tree.AddFile(made[i], "other.txt");
  }
}

// Every test of the search runs with each walk listing alone and with
// helpers listing ahead of the walks.
class Searches : public ::testing::TestWithParam<int> {
 protected:
  SearchOptions Options(std::size_t batchRows = 1000, std::chrono::milliseconds batchAge = 20ms) const {
    return SearchOptions{batchRows, batchAge, GetParam()};
  }
};

TEST_P(Searches, EveryRootIsWalkedOnItsOwnThreadAndDeliveredInBatchesInWalkOrder) {
  FakeTree tree;
  RootList roots = {"R0", "R1", "missing", "R3"};
  for (const char* root : {"R0", "R1", "R3"}) AddTree(tree, root, 40);
  auto sink = std::make_shared<RecordingSink>(roots.size());
  std::weak_ptr<Search> watched;
  {
    auto search = Search::Start({"a", "x", "A"}, roots, MatchMode::Fuzzy, sink, tree, Options(7, 1h));
    watched = search;
  }  // the workers keep the search alive
  sink->WaitForAllEnds();
  WaitUntil([&] { return watched.expired(); });

  testing::ReferenceFolding folding;
  std::vector<TextList> rows = sink->Rows();
  std::vector<std::vector<std::size_t>> batches = sink->Batches();
  for (std::size_t r = 0; r < roots.size(); ++r) {
    TextList expected;
    testing::ReferenceWalk(tree, folding, roots[r], {"a", "x", "A"}, MatchMode::Fuzzy, expected);
    EXPECT_EQ(rows[r], expected) << roots[r];
    // Full batches of 7 but for the last one.
    std::size_t inBatches = 0;
    for (std::size_t b = 0; b < batches[r].size(); ++b) {
      if (b + 1 < batches[r].size()) {
        EXPECT_EQ(batches[r][b], 7u);
      }
      EXPECT_GT(batches[r][b], 0u);
      inBatches += batches[r][b];
    }
    EXPECT_EQ(inBatches, expected.size());
  }
  EXPECT_GT(rows[0].size(), 7u * 3);
  EXPECT_TRUE(rows[2].empty());
  EXPECT_EQ(sink->Ended(), (std::vector<int>{1, 1, 1, 1}));
  EXPECT_EQ(sink->SearchEnds(), 1);
  EXPECT_EQ(sink->Faults(), 0);
  for (const auto& [folder, count] : tree.Listings()) EXPECT_EQ(count, 1) << folder;
}

TEST_P(Searches, RowsOlderThanTheBatchAgeGoAtTheEndOfTheirFolder) {
  FakeTree tree;
  AddTree(tree, "R", 12);
  auto sink = std::make_shared<RecordingSink>(1);
  auto search = Search::Start({"a"}, {"R"}, MatchMode::Fuzzy, sink, tree, Options(1000, 0ms));
  sink->WaitForAllEnds();
  // With no age allowed, each folder's rows are a batch of their own.
  std::vector<std::size_t> expected;
  testing::ReferenceFolding folding;
  TextList rows;
  testing::ReferenceWalk(tree, folding, "R", {"a"}, MatchMode::Fuzzy, rows);
  Text last;
  for (const Text& row : rows) {
    Text folder = row.substr(0, row.rfind('\\'));
    if (folder != last) expected.push_back(0);
    ++expected.back();
    last = folder;
  }
  EXPECT_EQ(sink->Batches()[0], expected);
}

TEST_P(Searches, OneProgressStepPerWantedNamePerFolderTakenAsTheLatestText) {
  FakeTree tree;
  tree.AddFolder("R", {{"x.txt"}});
  auto sink = std::make_shared<RecordingSink>(1);
  auto search = Search::Start({"x"}, {"R"}, MatchMode::Exact, sink, tree, Options());
  EXPECT_EQ(search->Names(), NameList{"x"});
  EXPECT_EQ(search->Roots(), RootList{"R"});
  sink->WaitForAllEnds();
  EXPECT_EQ(sink->StepsAtEnd(), 1u);  // made before the walk's end was reported
  EXPECT_EQ(search->TakeProgress(), std::optional<std::uint32_t>(0));
  EXPECT_FALSE(search->TakeProgress().has_value());  // nothing new since

  // A root that does not exist still makes a step for every wanted name.
  sink = std::make_shared<RecordingSink>(1);
  search = Search::Start({"a", "b", "c"}, {"missing"}, MatchMode::Exact, sink, tree, Options());
  sink->WaitForAllEnds();
  EXPECT_EQ(sink->StepsAtEnd(), 3u);
  EXPECT_EQ(search->TakeProgress(), std::optional<std::uint32_t>(2));  // "c"

  // Steps for the names done inside a folder count once, also when the
  // folder's rows go in several batches.
  FakeTree big;
  AddTree(big, "B", 30);
  sink = std::make_shared<RecordingSink>(2);
  search = Search::Start({"a0", "a1", "zz", "a2"}, {"B", "B"}, MatchMode::Exact, sink, big, Options(1, 1h));
  sink->WaitForAllEnds();
  ASSERT_TRUE(search->WaitForWalks(std::chrono::steady_clock::now() + 60s));
  EXPECT_EQ(search->ProgressSteps(), 2u * 30 * 4);
}

TEST_P(Searches, CancellingStopsDeliveriesAndStillEndsEveryWalk) {
  FakeTree tree;
  RootList roots = {"R0", "R1", "R2"};
  for (const Text& root : roots) AddTree(tree, root, 300);
  std::atomic<bool> cancelSeen{false};
  std::atomic<int> listedOnceCancelled{0};
  tree.OnList([&](const Text&) {
    if (cancelSeen) ++listedOnceCancelled;
  });
  auto sink = std::make_shared<RecordingSink>(roots.size());
  sink->OnRows([&](Search& search) {
    search.Cancel();
    cancelSeen = true;
  });
  auto search = Search::Start({"a"}, roots, MatchMode::Fuzzy, sink, tree, Options(5, 1h));
  sink->WaitForAllEnds();
  ASSERT_TRUE(search->WaitForWalks(std::chrono::steady_clock::now() + 60s));
  EXPECT_TRUE(search->Cancelled());
  EXPECT_EQ(sink->Faults(), 0);  // no rows after an end
  // The walk that cancelled got no more in; each other one at most the batch it had under way.
  EXPECT_LE(sink->DeliveriesAfterCancel(), static_cast<int>(roots.size()) - 1);
  std::size_t delivered = 0;
  for (const auto& batches : sink->Batches()) delivered += batches.size();
  EXPECT_GE(delivered, 1u);
  EXPECT_LE(delivered, roots.size());  // at most the batch each walk had under way
  // Each walk and each helper starts at most the listing it had decided on.
  EXPECT_LE(listedOnceCancelled, static_cast<int>(roots.size()) + GetParam() - 1);
  if (GetParam() == 1) {
    EXPECT_LT(tree.Listings().size(), tree.Folders().size() / 2);
  }
}

TEST_P(Searches, WalksOfOneRootRunSideBySideAndCountDownToZero) {
  FakeTree tree;
  AddTree(tree, "R", 50);
  auto sink = std::make_shared<RecordingSink>(3);
  auto search = Search::Start({"a"}, {"R", "R", "R"}, MatchMode::Exact, sink, tree, Options());
  ASSERT_TRUE(search->WaitForWalks(std::chrono::steady_clock::now() + 60s));
  EXPECT_EQ(search->RunningWalks(), 0);
  EXPECT_EQ(sink->SearchEnds(), 1);  // the end came before the signal
  EXPECT_EQ(sink->Faults(), 0);
  EXPECT_EQ(sink->Rows()[0], sink->Rows()[2]);

  // No root: the search ends at once, before Start returns.
  sink = std::make_shared<RecordingSink>(0);
  search = Search::Start({"a"}, {}, MatchMode::Exact, sink, tree);
  EXPECT_EQ(sink->SearchEnds(), 1);
  EXPECT_TRUE(search->WaitForWalks(std::chrono::steady_clock::now()));
}

// A lister that throws where a listing could: memory running out, or
// anything unexpected. It throws every time one folder is listed: a listing
// that fails ahead of the walk is listed again by the walk itself, which
// then ends by the fault.
TEST_P(Searches, AWalkThatThrowsStillEndsAsAWalkAndIsCounted) {
  FakeTree tree;
  RootList roots = {"R0", "R1", "R2"};
  for (const Text& root : roots) AddTree(tree, root, 30);
  tree.OnList([&](const Text& folder) {
    if (folder == "R1\\f10") throw std::bad_alloc();
    if (folder == "R2") throw 42;
  });
  auto sink = std::make_shared<RecordingSink>(roots.size());
  auto search = Search::Start({"a"}, roots, MatchMode::Fuzzy, sink, tree, Options(1, 1h));
  ASSERT_TRUE(search->WaitForWalks(std::chrono::steady_clock::now() + 60s));
  EXPECT_EQ(search->FailedWalks(), 2);
  EXPECT_EQ(sink->Ended(), (std::vector<int>{1, 1, 1}));
  EXPECT_EQ(sink->SearchEnds(), 1);
  EXPECT_EQ(sink->Faults(), 0);

  testing::ReferenceFolding folding;
  std::vector<TextList> rows = sink->Rows();
  TextList expected;
  testing::ReferenceWalk(tree, folding, "R0", {"a"}, MatchMode::Fuzzy, expected);
  EXPECT_EQ(rows[0], expected);
  // The rows found before the fault are delivered: the walk's rows up to
  // the folder that threw.
  expected.clear();
  testing::ReferenceWalk(tree, folding, "R1", {"a"}, MatchMode::Fuzzy, expected);
  ASSERT_LT(rows[1].size(), expected.size());
  EXPECT_FALSE(rows[1].empty());
  EXPECT_TRUE(std::equal(rows[1].begin(), rows[1].end(), expected.begin()));
  EXPECT_TRUE(rows[2].empty());
}

TEST_P(Searches, FoldersThatFailTwiceAreCountedAndTheWalkGoesOn) {
  FakeTree tree;
  AddTree(tree, "R", 30);
  tree.FailListings("R\\f3", 1);
  tree.FailListings("R\\f7", 2);
  tree.FailListings("R\\f9", 2);
  auto sink = std::make_shared<RecordingSink>(1);
  auto search = Search::Start({"a"}, {"R"}, MatchMode::Fuzzy, sink, tree, Options());
  ASSERT_TRUE(search->WaitForWalks(std::chrono::steady_clock::now() + 60s));
  EXPECT_EQ(search->FailedFolders(), 2u);
  EXPECT_EQ(search->FailedWalks(), 0);
  EXPECT_EQ(sink->Ended(), std::vector<int>{1});
}

TEST(Search, AModeSetDuringTheWalkAppliesToTheFoldersAfter) {
  FakeTree tree;
  tree.AddFolder("R", {{"a.txt"}, {"xa.txt"}, {"sub", true}});
  tree.AddFolder("R\\sub", {{"a.txt"}, {"xa.txt"}});
  auto sink = std::make_shared<RecordingSink>(1);
  // The first row is delivered once the root's files are matched.
  sink->OnRows([](Search& search) { search.SetMatchMode(MatchMode::Fuzzy); });
  auto search = Search::Start({"a"}, {"R"}, MatchMode::Exact, sink, tree, {1, 1h});
  ASSERT_TRUE(search->WaitForWalks(std::chrono::steady_clock::now() + 60s));
  EXPECT_EQ(sink->Rows()[0], (TextList{"R\\a.txt", "R\\sub\\a.txt", "R\\sub\\xa.txt"}));
}

INSTANTIATE_TEST_SUITE_P(Threads, Searches, ::testing::Values(1, 2, 8),
                         [](const ::testing::TestParamInfo<int>& threads) { return NumberToText(threads.param); });

}  // namespace
}  // namespace tarnwell
