// The batch commands as the window runs them: delete, copy, move and the
// undo of the last move, one at a time. While one runs (its question, its
// folder browser and its scan included, which all let the window's events
// run), another batch command, a search and the not-found report do
// nothing; the window keeps answering (the file work runs on the host's
// worker thread), and closing it stops the batch, even in the middle of a
// file. A batch that takes longer than half a second shows the progress
// window, whose 停止 stops it. Copy and move take the same-name rule, the
// folder choice and the verification of copies from config.ini, and the
// roots from the last search; the last move's files are kept for its undo
// until the program ends.
#pragma once

#include <memory>

#include "platform/window/taskbar_progress_win.h"
#include "results/batch_progress.h"
#include "results/batch_transfer.h"
#include "results/result_host.h"
#include "ui/main_window_win.h"
#include "ui/progress_window_win.h"
#include "ui/search_controller_win.h"

namespace tarnwell {

class BatchCommands {
 public:
  // `taskbar`, when given, shows the progress on the taskbar button instead
  // of the system's (a test's stand-in).
  BatchCommands(MainWindow& window, ResultHost& host, const SearchController& searches, Text programDirectory,
                TaskbarProgress* taskbar = nullptr)
      : window_(window),
        host_(host),
        searches_(searches),
        programDirectory_(std::move(programDirectory)),
        systemTaskbar_(taskbar ? nullptr : SystemTaskbarProgress()),
        progressWindow_(progress_, [this] { return window_.Handle(); }, taskbar ? *taskbar : *systemTaskbar_) {}
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
  // The progress window of the batch running (or the last one).
  const ProgressWindow& Progress() const { return progressWindow_; }

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
  std::unique_ptr<TaskbarProgress> systemTaskbar_;
  ProgressWindow progressWindow_;  // watches progress_
};

}  // namespace tarnwell
