// The search as the window sees it: StartSearch reads the boxes and radios,
// rebuilds the names box and starts a Search; the rows of the current search
// reach the result list through the window's queue, its progress is polled
// into the status line, and its end is reported by the worker's own report
// (specified path) or by the completion timer (whole computer).
//
// Only the latest search reaches the window: a new search cancels the one
// before, and every delivery is dropped on the window thread unless it comes
// from the current, uncancelled search.
#pragma once

#include <atomic>
#include <memory>

#include "search/match_mode.h"
#include "search/search.h"
#include "ui/main_window_win.h"

namespace tarnwell {

class SearchController {
 public:
  explicit SearchController(MainWindow& window);
  ~SearchController();
  SearchController(const SearchController&) = delete;
  SearchController& operator=(const SearchController&) = delete;

  // Click on 按钮_立即搜索.
  void StartSearch();
  // Tick of 时钟1.
  void CompletionTick();
  // Reads the match-mode radios into the mirror that the walks read.
  void RefreshMatchMode();
  // The window is closing: stops the walks and waits a little for them to end.
  void Shutdown();

  // The current search, for tests; null before the first search.
  const std::shared_ptr<Search>& Current() const { return current_; }
  // Whether walks of the current search still have rows to deliver.
  bool Walking() const { return walksLeft_ > 0; }
  // The match mode the last search started with; before any search, the
  // mode the radios show.
  MatchMode LastSearchMode() const { return current_ ? startedMode_ : mode_.load(); }

 private:
  class Sink;

  void ReportCompletion();
  void ShowProgress();
  void OnRows(const std::shared_ptr<Search>& search, const RowBatch& rows);
  void OnWalkEnded(const std::shared_ptr<Search>& search);
  bool IsCurrent(const std::shared_ptr<Search>& search) const;
  void StartProgressPolling();
  void StopProgressPolling();
  HWND Control(enum Control control) const { return window_.ControlWindow(control); }

  MainWindow& window_;
  std::atomic<MatchMode> mode_{MatchMode::Exact};
  std::shared_ptr<Search> current_;
  MatchMode startedMode_ = MatchMode::Exact;
  int walksLeft_ = 0;
  bool polling_ = false;
};

}  // namespace tarnwell
