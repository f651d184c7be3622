// Searches answered from the kept folders, on real folders under the real
// change watch: after each change of every kind, a search of the root and
// one of a folder below it give exactly the rows of a fresh walk at that
// moment, exact and fuzzy.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/text/gb18030_utf8.h"
#include "search/search.h"
#include "tests/support/recording_sink.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"

namespace tarnwell::testing {
namespace {

using testing_support::LongForm;
using testing_support::MakeFolder;
using testing_support::PutFile;
using testing_support::RemoveTree;
using testing_support::TemporaryFolder;

const char* const kNames = "p1\r\nnote.txt\r\nnew*\r\n新建";

// The rows of a walk of `root` by a search of its own that keeps nothing.
TextList FreshWalk(const Text& root, MatchMode mode) {
  auto sink = std::make_shared<RecordingSink>(1);
  auto search = Search::Start(SplitText(G(kNames), "\r\n"), {root}, mode, sink, FileSystemLister());
  sink->WaitForAllEnds();
  search->WaitForWalks(std::chrono::steady_clock::now() + std::chrono::seconds(60));
  return sink->Rows()[0];
}

void Rename(const Text& from, const Text& to) { ASSERT_TRUE(MoveFileW(LongForm(from).c_str(), LongForm(to).c_str())); }
void Delete(const Text& file) { ASSERT_TRUE(DeleteFileW(LongForm(file).c_str())); }

class KeptSearch : public ProgramFixture {
 protected:
  TextList SearchRows(const Text& root, MatchMode mode) {
    Click(mode == MatchMode::Fuzzy ? Control::FuzzyRadio : Control::ExactRadio);
    SearchFor(kNames, root);
    EXPECT_TRUE(WaitForCompletion(60000));
    TextList rows;
    for (int row = 0; row < Rows().RowCount(); ++row) rows.push_back(Rows().RowText(row));
    return rows;
  }

  // The watch reports on its own thread: waits until the store has been
  // told something since `before` and nothing more has come for a while.
  void WaitForReports(std::uint64_t before) {
    std::uint64_t seen = before;
    auto quietSince = std::chrono::steady_clock::now();
    for (int i = 0; i < 500; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      KeptFolders* kept = program->Searches().Kept();
      const std::uint64_t now = kept ? kept->Figures().reports : seen;
      if (now != seen) {
        seen = now;
        quietSince = std::chrono::steady_clock::now();
      } else if (seen != before && std::chrono::steady_clock::now() - quietSince > std::chrono::milliseconds(300)) {
        return;
      }
    }
  }

  std::uint64_t Reports() {
    KeptFolders* kept = program->Searches().Kept();
    return kept ? kept->Figures().reports : 0;
  }
};

TEST_F(KeptSearch, EveryChangeGivesTheRowsOfAFreshWalk) {
  TemporaryFolder outside("outside");
  const Text root = tree.path();
  auto at = [&](const char* relativeUtf8) { return root + "\\" + G(relativeUtf8); };
  for (const char* folder : {"a", "a\\b", "a\\b\\c", "a\\b\\c\\d", "e", "e\\深"}) MakeFolder(at(folder));
  for (const char* file : {"p1.jpg", "note.txt", "a\\P1.txt", "a\\readme", "a\\b\\p1.png", "a\\b\\c\\d\\p1",
                           "a\\b\\c\\d\\note.txt", "e\\深\\新建文本.txt", "e\\other.doc"}) {
    PutFile(at(file), "x");
  }
  MakeFolder(outside / "m");
  MakeFolder(outside / "m\\k");
  PutFile(outside / "m\\p1.m", "x");
  PutFile(outside / "m\\k\\note.txt", "x");

  struct Step {
    const char* what;
    std::function<void()> change;
    const char* below;  // a folder below the root searched too
  };
  const std::vector<Step> steps = {
      {"nothing changed", [] {}, "a\\b"},
      {"a file created at the root", [&] { PutFile(at("new.txt"), "x"); }, "a"},
      {"a file created deep down", [&] { PutFile(at("a\\b\\c\\d\\new1.jpg"), "x"); }, "a\\b\\c"},
      {"a file deleted", [&] { Delete(at("a\\P1.txt")); }, "a"},
      {"a file renamed", [&] { Rename(at("a\\b\\p1.png"), at("a\\b\\new2.png")); }, "a\\b"},
      {"a folder created with a file in it",
       [&] {
         MakeFolder(at("a\\n"));
         PutFile(at("a\\n\\new3.txt"), "x");
       },
       "a\\n"},
      {"a folder moved in from outside", [&] { Rename(outside / "m", at("a\\b\\m")); }, "a\\b\\m"},
      {"a folder moved out to outside", [&] { Rename(at("a\\b\\m"), outside / "m2"); }, "a\\b"},
      {"a folder renamed, then files created in it",
       [&] {
         Rename(at("a\\b\\c"), at("a\\b\\c2"));
         PutFile(at("a\\b\\c2\\new4.txt"), "x");
         PutFile(at("a\\b\\c2\\d\\new5.txt"), "x");
       },
       "a\\b\\c2\\d"},
      {"a folder renamed at the root", [&] { Rename(at("e"), at("e2")); }, "e2\\深"},
      {"files created in the folder renamed before", [&] { PutFile(at("e2\\深\\new6.txt"), "x"); }, "e2"},
      {"10,000 files created at once",
       [&] {
         for (int i = 0; i < 10000; ++i) PutFile(at("a\\n") + "\\new_" + NumberToText(i) + ".txt", "");
       },
       "a\\n"},
      {"a whole subtree deleted", [&] { RemoveTree(LongForm(at("a\\b"))); }, "a"},
      {"nothing changed since", [] {}, "e2"},
  };
  // The first search keeps the tree.
  ASSERT_EQ(SearchRows(root, MatchMode::Exact), FreshWalk(root, MatchMode::Exact));
  ASSERT_NE(program->Searches().Kept(), nullptr);
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    const std::uint64_t before = Reports();
    step.change();
    if (std::string_view(step.what).starts_with("nothing")) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    } else {
      WaitForReports(before);
    }
    for (MatchMode mode : {MatchMode::Exact, MatchMode::Fuzzy}) {
      EXPECT_EQ(SearchRows(root, mode), FreshWalk(root, mode));
      const Text below = at(step.below);
      EXPECT_EQ(SearchRows(below, mode), FreshWalk(below, mode));
    }
    // Kept again, by the root's watch alone: the folder below was a folder it holds.
    EXPECT_EQ(program->Searches().Kept()->Figures().roots, 1u);
  }
}

// 索引=假: nothing is kept, every search walks.
TEST_F(KeptSearch, KeepingOffKeepsNothing) {
  PutFile(programFolder / "config.ini", G("[zhuce]\r\n索引=假\r\n"));
  PutFile(tree / "p1.txt", "x");
  EXPECT_EQ(SearchRows(tree.path(), MatchMode::Exact), FreshWalk(tree.path(), MatchMode::Exact));
  EXPECT_EQ(program->Searches().Kept(), nullptr);
  PutFile(tree / "new.txt", "x");
  EXPECT_EQ(SearchRows(tree.path(), MatchMode::Exact), FreshWalk(tree.path(), MatchMode::Exact));
  // Turned on again: the next search keeps.
  PutFile(programFolder / "config.ini", G("[zhuce]\r\n索引=真\r\n"));
  EXPECT_EQ(SearchRows(tree.path(), MatchMode::Exact), FreshWalk(tree.path(), MatchMode::Exact));
  ASSERT_NE(program->Searches().Kept(), nullptr);
  EXPECT_EQ(program->Searches().Kept()->Figures().roots, 1u);
}

}  // namespace
}  // namespace tarnwell::testing
