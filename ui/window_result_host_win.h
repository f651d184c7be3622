// The result operations' view of the real window and file system.
#pragma once

#include <memory>

#include "platform/base/unique_handle_win.h"
#include "platform/base/worker_thread.h"
#include "results/result_host.h"
#include "ui/main_window_win.h"

namespace tarnwell {

class WindowResultHost : public ResultHost {
 public:
  // `programDirectory` is where the not-found report goes.
  WindowResultHost(MainWindow& window, Text programDirectory)
      : window_(window), programDirectory_(std::move(programDirectory)) {}

  void SetStatus(const Text& text) override;
  void ProcessPendingEvents() override;
  bool WindowClosed() override;
  MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle style, const Text& caption) override;
  Text BrowseForFolder(const Text& title) override;
  Text NamesBoxContent() override;
  // config.ini's 回收站 in section zhuce is exactly "真".
  bool RecycleOnDelete() override;

  // On the host's one worker thread, made at the first call; the window
  // thread dispatches its messages meanwhile.
  void RunFileWork(const std::function<void()>& work, const std::function<void()>& betweenEvents) override;
  FileOutcome DeleteOneFile(const Text& path) override;
  std::vector<RecycleOutcome> RecycleFiles(std::span<const Text> paths) override;
  FileOutcome CopyOneFile(const Text& source, const Text& destination, const CopyOptions& options) override;
  FileOutcome MoveOneFile(const Text& source, const Text& destination, const CopyOptions& options) override;
  std::optional<FileIdentity> IdentifyFile(const Text& path) override;
  std::optional<FileFacts> FactsOf(const Text& path) override;
  bool NothingAt(const Text& path) override;
  FileOutcome CreateFolders(const Text& folder) override;
  Text ProgramDirectory() override;
  bool WriteWholeFile(const Text& path, std::span<const unsigned char> bytes) override;
  bool AppendToFile(const Text& path, std::string_view header, std::string_view bytes) override;
  std::unique_ptr<FileAppends> AppendsTo(const Text& path) override;
  Text LocalTimeNow() override;
  void ShellOpen(const Text& path) override;
  void StartBatchProblems() override { batchProblems_.Clear(); }
  void AddBatchProblem(const Failure& failure) override { batchProblems_.Add(failure); }

  // What the last batch could not do (so far, while it runs).
  std::vector<Failure> BatchProblems() const { return batchProblems_.Snapshot(); }

 private:
  MainWindow& window_;
  Text programDirectory_;
  FailureList batchProblems_;  // added to by the worker, read by the window thread
  UniqueHandle workEnded_;     // set by the worker at the end of each piece of work
  std::unique_ptr<WorkerThread> worker_;  // after the handle it sets
};

}  // namespace tarnwell
