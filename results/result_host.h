// What the result operations need of the window and of the file system. The
// window implements it with the real controls and Win32 calls; tests give a
// fake. Everything here is called on the window thread.
#pragma once

#include <optional>
#include <span>

#include "platform/file_system.h"
#include "platform/message_box.h"
#include "platform/text.h"

namespace tarnwell {

class ResultHost {
 public:
  virtual ~ResultHost() = default;

  // Window.
  virtual void SetStatus(const Text& text) = 0;
  virtual void ProcessPendingEvents() = 0;
  // An empty caption shows "信息：".
  virtual MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle style, const Text& caption) = 0;
  virtual Text BrowseForFolder(const Text& title) = 0;
  virtual Text NamesBoxContent() = 0;

  // File system and shell.
  virtual bool DeleteOneFile(const Text& path) = 0;
  virtual bool CopyOneFile(const Text& source, const Text& destination) = 0;
  virtual bool MoveOneFile(const Text& source, const Text& destination) = 0;
  virtual std::optional<FileIdentity> IdentifyFile(const Text& path) = 0;
  virtual Text ProgramDirectory() = 0;
  virtual bool WriteWholeFile(const Text& path, std::span<const unsigned char> bytes) = 0;
  virtual void ShellOpen(const Text& path) = 0;
};

}  // namespace tarnwell
