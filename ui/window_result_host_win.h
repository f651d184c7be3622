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
  MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle style, const Text& caption) override;
  Text BrowseForFolder(const Text& title) override;
  Text NamesBoxContent() override;

  bool DeleteOneFile(const Text& path) override;
  bool CopyOneFile(const Text& source, const Text& destination) override;
  bool MoveOneFile(const Text& source, const Text& destination) override;
  std::optional<FileIdentity> IdentifyFile(const Text& path) override;
  Text ProgramDirectory() override;
  bool WriteWholeFile(const Text& path, std::span<const unsigned char> bytes) override;
  void ShellOpen(const Text& path) override;

 private:
  MainWindow& window_;
  Text programDirectory_;
};

}  // namespace tarnwell
