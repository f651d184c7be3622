// The result operations' view of the real window and file system.
#pragma once

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

  FileOutcome DeleteOneFile(const Text& path) override;
  std::vector<RecycleOutcome> RecycleFiles(std::span<const Text> paths) override;
  FileOutcome CopyOneFile(const Text& source, const Text& destination, ExistingFile existing) override;
  FileOutcome MoveOneFile(const Text& source, const Text& destination, ExistingFile existing) override;
  std::optional<FileIdentity> IdentifyFile(const Text& path) override;
  std::optional<FileFacts> FactsOf(const Text& path) override;
  bool NothingAt(const Text& path) override;
  FileOutcome CreateFolders(const Text& folder) override;
  Text ProgramDirectory() override;
  bool WriteWholeFile(const Text& path, std::span<const unsigned char> bytes) override;
  bool AppendToFile(const Text& path, std::string_view header, std::string_view bytes) override;
  Text LocalTimeNow() override;
  void ShellOpen(const Text& path) override;
  void StartBatchProblems() override { batchProblems_.clear(); }
  void AddBatchProblem(const Failure& failure) override { batchProblems_.push_back(failure); }

  // What the last batch could not do.
  const std::vector<Failure>& BatchProblems() const { return batchProblems_; }

 private:
  MainWindow& window_;
  Text programDirectory_;
  std::vector<Failure> batchProblems_;
};

}  // namespace tarnwell
