// The batch commands as the window runs them: delete, copy, move and the
// undo of the last move, one at a time. While one runs (its question, its
// folder browser and its scan included, which all let the window's events
// run), another batch command, a search and the not-found report do
// nothing; the window keeps answering (the file work runs on the host's
// worker thread), and closing it stops the batch, even in the middle of a
// file. Copy and move take the same-name rule and the folder choice from
// config.ini, and the roots from the last search; the last move's files are
// kept for its undo until the program ends.
#pragma once

#include "results/batch_transfer.h"
#include "results/result_host.h"
#include "ui/main_window_win.h"
#include "ui/search_controller_win.h"

namespace tarnwell {

class BatchCommands {
 public:
  BatchCommands(MainWindow& window, ResultHost& host, const SearchController& searches, Text programDirectory)
      : window_(window), host_(host), searches_(searches), programDirectory_(std::move(programDirectory)) {}
  BatchCommands(const BatchCommands&) = delete;
  BatchCommands& operator=(const BatchCommands&) = delete;

  void Delete();
  void Copy();
  void Move();
  void UndoLastMove();

  // A batch command is running (the others wait for its end).
  bool Running() const { return running_; }
  // The last move left files to take back.
  bool CanUndo() const { return !lastMove_.empty(); }

 private:
  void Transfer(TransferKind kind);
  template <class Command>
  void RunAlone(Command command);

  MainWindow& window_;
  ResultHost& host_;
  const SearchController& searches_;
  Text programDirectory_;
  bool running_ = false;
  MovedFiles lastMove_;
  BatchProgress progress_;  // of the batch running, or the last one
};

}  // namespace tarnwell
