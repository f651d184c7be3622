// The search as the window sees it: StartSearch reads the boxes and radios,
// rebuilds the names box and starts a Search; the rows of the current search
// reach the result list through the window's queue, its progress is polled
// into the status line, and its end is reported when the end of its last
// walk reaches the window (specified path) or by the completion timer (whole
// computer), always after its last row is in the list.
//
// Only the latest search reaches the window: a new search cancels the one
// before, and every delivery is dropped on the window thread unless it comes
// from the current, uncancelled search. Cancelled searches are kept until
// their walks have ended, so that Shutdown can wait for every walk.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "results/same_name.h"
#include "search/kept/kept_folders.h"
#include "search/match/match_mode.h"
#include "search/search.h"
#include "ui/main_window_win.h"

namespace tarnwell {

class SearchController {
 public:
  // The walks list folders with `lister`, which outlives the controller;
  // `numberRule` gives the number rule a search starts with. When the lister
  // is the file system's and `keeping` says so at the start of a search, the
  // walks keep what they list for the searches after them.
  explicit SearchController(MainWindow& window, const DirectoryLister& lister = FileSystemLister(),
                            std::function<NumberRule()> numberRule = [] { return NumberRule::Off; },
                            std::function<bool()> keeping = {});
  ~SearchController();
  SearchController(const SearchController&) = delete;
  SearchController& operator=(const SearchController&) = delete;

  // Click on 按钮_立即搜索.
  void StartSearch();
  // Tick of 时钟1.
  void CompletionTick();
  // Hands the match-mode radios to the running search's walks.
  void RefreshMatchMode();
  // The window is closing: cancels the walks and waits for their end, two
  // seconds at most, and releases the kept folders. True when every walk
  // has ended (and its thread is joined).
  bool Shutdown();

  // The drives ("E:") are going or gone: nothing of them is kept any more,
  // and no watch holds them.
  void LetDrivesGo(const TextList& drives);

  // The folders kept for later searches, for tests; null while none are kept.
  KeptFolders* Kept() const { return kept_.get(); }

  // The current search, for tests; null before the first search.
  const std::shared_ptr<Search>& Current() const { return current_; }
  // Whether the current search may still deliver rows: its end has not yet
  // reached the window.
  bool Walking() const { return current_ && !currentEnded_; }
  // The match mode the last search started with; before any search, the
  // mode the radios show.
  MatchMode LastSearchMode() const { return current_ ? startedMode_ : RadioMatchMode(); }
  // Folders the last search could not read (and walks it could not end):
  // what its completion text and the not-found report tell.
  std::uint64_t UnreadFolders() const;
  // What the last search could not do, for the problem list.
  std::vector<Failure> Problems() const;
  // The roots the last search ran with, whatever the boxes say now; none
  // before the first search.
  const SearchRoots& LastSearchRoots() const { return startedRoots_; }
  // That mode with the number rule the last search ran with; before any
  // search, the rule a search would start with now.
  MatchRules LastSearchRules() const {
    return MatchRules(LastSearchMode(), current_ ? current_->Numbers() : numberRule_());
  }

 private:
  class Sink;

  void ReportCompletion();
  void ShowProgress();
  void OnRows(const std::shared_ptr<Search>& search, const RowBatch& rows);
  void OnWalkEnded(const std::shared_ptr<Search>& search);
  void OnSearchEnded(const std::shared_ptr<Search>& search);
  MatchMode RadioMatchMode() const;
  bool IsCurrent(const std::shared_ptr<Search>& search) const;
  // The lister of a search of `roots`.
  std::shared_ptr<const DirectoryLister> ListerFor(const RootList& roots);
  void ReleaseKept();
  void StartProgressPolling();
  void StopProgressPolling();
  HWND Control(enum Control control) const { return window_.ControlWindow(control); }

  MainWindow& window_;
  const DirectoryLister& lister_;
  std::function<NumberRule()> numberRule_;
  std::function<bool()> keeping_;
  std::shared_ptr<KeptFolders> kept_;  // null while nothing is kept
  std::shared_ptr<Search> current_;
  MatchMode startedMode_ = MatchMode::Exact;
  SearchRoots startedRoots_;
  bool currentEnded_ = false;
  std::vector<std::shared_ptr<Search>> cancelled_;  // earlier searches whose walks may still run
  bool polling_ = false;
};

}  // namespace tarnwell
