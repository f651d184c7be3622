// What the result operations need of the window and of the file system. The
// window implements it with the real controls and Win32 calls; tests give a
// fake. The window's side is called on the window thread only; the file
// system's side (from DeleteOneFile to LocalTimeNow, and the batch's problem
// list) also on the batch's worker thread, through RunFileWork, while the
// window thread waits.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/files/file_facts.h"
#include "platform/files/file_system.h"
#include "platform/files/recycle_bin.h"
#include "platform/base/failure.h"
#include "platform/base/message_box.h"
#include "platform/text/text.h"

namespace tarnwell {

// What one operation on a file came to: done, or why not in the system's
// own words.
struct FileOutcome {
  bool done = false;
  Text failure;              // the reason, when not done
  bool targetTaken = false;  // not done because a file is at the destination (ExistingFile::Keep)
  bool stopped = false;      // not done because the batch was asked to stop: nothing of it is left
  std::uint32_t code = 0;    // the system's error code behind the reason; 0 for the program's own words

  static FileOutcome Done() { return {true, {}, false, false, 0}; }
  static FileOutcome Failed(Text reason, std::uint32_t code = 0) {
    return {false, std::move(reason), false, false, code};
  }
  static FileOutcome TargetTaken(Text reason, std::uint32_t code = 0) {
    return {false, std::move(reason), true, false, code};
  }
  static FileOutcome Stopped() { return {false, {}, false, true, 0}; }
};

// A run of appends to one file (the action record's lines while a batch
// runs); a host may hold the file open until the object goes.
class FileAppends {
 public:
  virtual ~FileAppends() = default;
  // As ResultHost::AppendToFile.
  virtual bool Append(std::string_view header, std::string_view bytes) = 0;
};

class ResultHost {
 public:
  virtual ~ResultHost() = default;

  // Window.
  virtual void SetStatus(const Text& text) = 0;
  virtual void ProcessPendingEvents() = 0;
  // The window has been closed (its events may have closed it): an
  // operation stops before its next file and shows nothing more.
  virtual bool WindowClosed() = 0;
  // An empty caption shows "信息：".
  virtual MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle style, const Text& caption) = 0;
  virtual Text BrowseForFolder(const Text& title) = 0;
  virtual Text NamesBoxContent() = 0;
  // Whether 删除选定文件 sends the files to the Recycle Bin (the user's
  // setting) rather than deleting them outright.
  virtual bool RecycleOnDelete() = 0;

  // Runs `work` on the batch's worker thread and returns once it has ended.
  // Meanwhile the window's events run, and `betweenEvents` is called after
  // each round of them, so the window answers however long a file takes.
  // `work` acts on files only, never on the window or the list.
  virtual void RunFileWork(const std::function<void()>& work, const std::function<void()>& betweenEvents) = 0;

  // File system and shell.
  virtual FileOutcome DeleteOneFile(const Text& path) = 0;
  // Sends the files to the Recycle Bin and never deletes one outright; tells
  // for each path whether its file is gone from it afterwards (nothing), or
  // why it stayed.
  virtual std::vector<RecycleOutcome> RecycleFiles(std::span<const Text> paths) = 0;
  // With ExistingFile::Keep a file at the destination, there before or come
  // meanwhile, is never replaced: the outcome is TargetTaken. A copy that
  // the options' watch stopped is Stopped; a verified copy that differs from
  // its source fails with "校验不一致".
  virtual FileOutcome CopyOneFile(const Text& source, const Text& destination, const CopyOptions& options) = 0;
  virtual FileOutcome MoveOneFile(const Text& source, const Text& destination, const CopyOptions& options) = 0;
  virtual std::optional<FileIdentity> IdentifyFile(const Text& path) = 0;
  // Size and modification time; nothing when the path names no file.
  virtual std::optional<FileFacts> FactsOf(const Text& path) = 0;
  // True only when the path surely names nothing (no file, no folder).
  virtual bool NothingAt(const Text& path) = 0;
  // The folder and every missing folder above it.
  virtual FileOutcome CreateFolders(const Text& folder) = 0;
  virtual Text ProgramDirectory() = 0;
  virtual bool WriteWholeFile(const Text& path, std::span<const unsigned char> bytes) = 0;
  // Appends bytes to the file, `header` first when the file is new or empty.
  virtual bool AppendToFile(const Text& path, std::string_view header, std::string_view bytes) = 0;
  // Appends to the file for as long as the object lives; by default each
  // append is an AppendToFile of its own.
  virtual std::unique_ptr<FileAppends> AppendsTo(const Text& path);
  // The user's clock now, "YYYY-MM-DD HH:MM:SS".
  virtual Text LocalTimeNow() = 0;
  // The problem list of the batch under way: a batch starts a new one, and
  // every file it could not act on is added, as the action record has it
  // (also from the worker thread).
  virtual void StartBatchProblems() {}
  virtual void AddBatchProblem(const Failure&) {}
  virtual void ShellOpen(const Text& path) = 0;
};

}  // namespace tarnwell
