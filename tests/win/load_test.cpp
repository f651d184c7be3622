// Many searches started back to back on a tree of a thousand folders, some
// cut short by the next, with ticks, copies and deletes in between. After
// every step the list holds rows of the latest search alone, a finished
// search holds exactly the files its names match, and every file is where it
// was or where it was sent, byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "results/batch_delete.h"
#include "results/batch_transfer.h"
#include "tests/win/support/program_fixture.h"
#include "tests/win/support/window_test_support.h"

namespace tarnwell::testing {
namespace {

using testing_support::FileBytes;
using testing_support::FolderNames;
using testing_support::MakeFolder;
using testing_support::PutFile;

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 6;
constexpr int kTokens = 150;

// The real window and file system; the folder browser's answer is the test's.
class TargetHost : public WindowResultHost {
 public:
  using WindowResultHost::WindowResultHost;
  Text target;
  Text BrowseForFolder(const Text&) override { return target; }
  // The boxes that only tell (a count of files that failed) are kept, not shown.
  TextList told;
  MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle style, const Text& caption) override {
    if (style == MessageBoxStyle::OkCancel) return WindowResultHost::ShowMessageBox(message, style, caption);
    told.push_back(message);
    return MessageBoxButton::Ok;
  }
  void ShellOpen(const Text&) override {}
};

// The number of searches: TARNWELL_LOAD_SEARCHES when set (a longer soak), else 100.
int SearchCount() {
  const char* value = std::getenv("TARNWELL_LOAD_SEARCHES");
  int count = value ? std::atoi(value) : 0;
  return count > 0 ? count : 100;
}

class Load : public ProgramFixture {
 protected:
  void SetUp() override {
    ProgramFixture::SetUp();
    host = std::make_unique<TargetHost>(program->Window(), programFolder.path());
    host->target = target.path();
    // File names are unique in the tree: w<token>_<folder>_<n>.txt, folders nested two deep.
    for (int f = 0; f < kFolders; ++f) {
      Text folder = Concat(tree.path(), "\\g", NumberToText(f / 40), "\\d", NumberToText(f));
      if (f % 40 == 0) MakeFolder(Concat(tree.path(), "\\g", NumberToText(f / 40)));
      MakeFolder(folder);
      for (int n = 0; n < kFilesPerFolder; ++n) {
        int token = (f * 7 + n * 31) % kTokens;
        Text name = Concat("w", NumberToText(token), "_", NumberToText(f), "_", NumberToText(n), ".txt");
        Text path = Concat(folder, "\\", name);
        std::string bytes = "file " + path + std::string("\0\xFF\r\n", 4) + std::to_string(f * 100 + n);
        PutFile(path, bytes);
        files[path] = bytes;
      }
    }
    PutFile(outside / "untouched.bin", "outside the tree");
  }

  // Whether a file name is one a wanted name finds: exact, the stem (before
  // the last dot) or the whole name equals it; fuzzy, it holds it.
  static bool Matches(const Text& fileName, const Text& wanted, bool fuzzy) {
    if (fuzzy) return fileName.find(wanted) != Text::npos;
    return fileName == wanted || fileName.substr(0, fileName.rfind('.')) == wanted;
  }
  static Text NameOf(const Text& path) { return path.substr(path.rfind('\\') + 1); }

  // The rows a finished search of `names` must hold, one per name a file matches.
  std::multiset<Text> ExpectedRows(const TextList& names, bool fuzzy) const {
    std::multiset<Text> rows;
    for (const auto& [path, bytes] : files) {
      for (const Text& name : names) {
        if (Matches(NameOf(path), name, fuzzy)) rows.insert(path);
      }
    }
    return rows;
  }

  // Every file of the tree is there with its bytes, nothing else is, and
  // every copy in the target folder holds the bytes of its source.
  void CheckFiles() {
    std::size_t seen = 0;
    for (int group = 0; group * 40 < kFolders; ++group) {
      Text groupFolder = Concat(tree.path(), "\\g", NumberToText(group));
      for (const Text& folderName : FolderNames(groupFolder)) {
        Text folder = Concat(groupFolder, "\\", folderName);
        for (const Text& name : FolderNames(folder)) {
          Text path = Concat(folder, "\\", name);
          auto found = files.find(path);
          ASSERT_NE(found, files.end()) << "a file that should not be there: " << path;
          ASSERT_EQ(FileBytes(path), found->second) << path;
          ++seen;
        }
      }
    }
    ASSERT_EQ(seen, files.size());
    TextList copies = FolderNames(target.path());
    ASSERT_EQ(std::set<Text>(copies.begin(), copies.end()), copied);
    for (const Text& name : copies) ASSERT_EQ(FileBytes(target / name), copiedBytes[name]) << name;
    ASSERT_EQ(FileBytes(outside / "untouched.bin"), "outside the tree");
  }

  // Ticks a few random rows; returns their ids and paths.
  std::vector<std::pair<ResultList::RowId, Text>> TickSome(std::mt19937& random) {
    std::vector<std::pair<ResultList::RowId, Text>> ticked;
    int count = Rows().RowCount();
    for (int i = 0; i < 5 && count > 0; ++i) {
      int row = static_cast<int>(random() % static_cast<unsigned>(count));
      if (Rows().IsChecked(row)) continue;
      Rows().SetChecked(row, true);
      ticked.emplace_back(Rows().IdOf(row), Rows().RowText(row));
    }
    return ticked;
  }

  testing_support::TemporaryFolder target{"target"};
  testing_support::TemporaryFolder outside{"outside"};
  std::unique_ptr<TargetHost> host;
  std::map<Text, std::string> files;  // what the tree must hold, path to bytes
  std::set<Text> copied;              // names in the target folder
  std::map<Text, std::string> copiedBytes;
};

TEST_F(Load, BackToBackSearchesWithCommandsBetweenKeepRowsAndFilesSound) {
  std::mt19937 random(20261208);
  const int searches = SearchCount();
  int finished = 0, deletes = 0, copies = 0;
  for (int round = 0; round < searches; ++round) {
    SCOPED_TRACE("search " + std::to_string(round));
    bool fuzzy = random() % 2 == 0;
    TextList names;
    Text box;
    for (int i = 0, count = 1 + static_cast<int>(random() % 4); i < count; ++i) {
      int token = static_cast<int>(random() % kTokens);
      // Fuzzy: a token, found in many files; exact: one file's stem.
      Text name = fuzzy ? Concat("w", NumberToText(token), "_")
                        : Concat("w", NumberToText(token), "_", NumberToText(static_cast<int>(random() % kFolders)),
                                 "_", NumberToText(static_cast<int>(random() % kFilesPerFolder)));
      if (std::find(names.begin(), names.end(), name) != names.end()) continue;
      names.push_back(name);
      box += name + "\r\n";
    }
    Click(fuzzy ? Control::FuzzyRadio : Control::ExactRadio);
    SearchFor(box.c_str(), tree.path(), fuzzy);

    bool wait = random() % 3 == 0 || round == searches - 1;
    if (wait) {
      ASSERT_TRUE(WaitForCompletion(60000));
      ++finished;
    } else {
      PumpUntil([] { return false; }, static_cast<int>(random() % 250));
    }

    // Whatever has arrived belongs to this search.
    for (int row = 0; row < Rows().RowCount(); ++row) {
      Text path = Rows().RowText(row);
      ASSERT_EQ(path.rfind(tree.path() + "\\", 0), 0u) << path;
      ASSERT_TRUE(std::any_of(names.begin(), names.end(), [&](const Text& n) { return Matches(NameOf(path), n, fuzzy); }))
          << path << " in the rows of a search for " << box;
    }
    if (wait) {
      TextList shown;
      for (int row = 0; row < Rows().RowCount(); ++row) shown.push_back(Rows().RowText(row));
      ASSERT_EQ(std::multiset<Text>(shown.begin(), shown.end()), ExpectedRows(names, fuzzy));
    }

    // A command now and then, while the search may still be delivering.
    unsigned command = random() % 4;
    if (command == 0 && Rows().RowCount() > 0) {
      auto ticked = TickSome(random);
      auto answer = AnswerNextBox(IDOK);
      BatchDelete(Rows(), *host);
      ASSERT_TRUE(answer.get().shown);
      for (const auto& [id, path] : ticked) {
        files.erase(path);
        ASSERT_EQ(Rows().RowOf(id), -1) << "the row of a deleted file stayed: " << path;
      }
      ++deletes;
    } else if (command == 1 && Rows().RowCount() > 0) {
      auto ticked = TickSome(random);
      BatchCopy(Rows(), *host);
      for (const auto& [id, path] : ticked) {
        // A row can outlive its file: one delivered after the file was
        // deleted, or the second row of a file two names found.
        if (!files.count(path)) continue;
        copied.insert(NameOf(path));
        copiedBytes[NameOf(path)] = files.at(path);
      }
      Click(Control::UncheckAllButton);
      ++copies;
    }
    if (round % 20 == 19) {
      ASSERT_NO_FATAL_FAILURE(CheckFiles());
    }
  }
  ASSERT_TRUE(WaitForCompletion(60000));
  ASSERT_NO_FATAL_FAILURE(CheckFiles());
  std::printf("%d searches (%d waited for), %d deletes, %d copies; files checked byte for byte\n", searches, finished,
              deletes, copies);
}

}  // namespace
}  // namespace tarnwell::testing
