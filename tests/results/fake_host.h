// An in-memory stand-in for the window and the file system, recording what
// the result operations ask of them. Paths compare without regard to ASCII
// case, and "\\" counts as "\", as on Windows. File work runs on a real
// worker thread while the test's thread waits, as on the window.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/worker_thread.h"
#include "results/result_host.h"

namespace tarnwell {

class FakeHost : public ResultHost {
 public:
  std::map<std::string, std::string> files;  // canonical path -> content
  std::vector<std::string> readOnly;         // canonical paths
  bool recycle = false;                      // the Recycle Bin setting
  std::vector<std::string> recycled;         // canonical paths, in the bin
  std::vector<std::size_t> recycleBatches;   // the size of each RecycleFiles call
  int outrightDeletes = 0;                   // DeleteOneFile calls
  std::vector<Text> statusHistory;
  std::vector<std::pair<Text, Text>> messages;  // message, caption
  std::vector<Text> opened;
  std::vector<Text> browseTitles;
  Text folderChoice;
  MessageBoxButton answer = MessageBoxButton::Ok;
  Text namesBox;
  Text programDirectory = "C:\\prog";
  bool writesFail = false;
  bool appendsFail = false;                 // AppendToFile fails
  std::map<std::string, std::string> appended;  // canonical path -> content: the files appended to
  std::vector<std::string> folders;         // canonical paths of folders made
  Text now = "2026-01-02 03:04:05";
  std::function<void()> onEvents;  // runs inside ProcessPendingEvents
  // Runs as a copy or move begins, after the batch has looked at the target:
  // another program may put a file there then.
  std::function<void(const Text& destination)> beforeTransfer;
  bool closed = false;              // the window has been closed
  // Runs on the window thread, again and again, while the worker is at a
  // piece of file work (the events that run meanwhile).
  std::function<void()> onWorkEvents;
  // The copy or move of this path (canonical) goes through half its bytes,
  // then waits until its watch wants it stopped, and stops: a large file
  // stopped in the middle.
  std::string stopsMidFile;

  static std::string Canonical(const Text& path) {
    std::string out;
    for (std::size_t i = 0; i < path.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(path[i]);
      if (c == '\\' && !out.empty() && out.back() == '\\') continue;
      out.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c));
      if (c >= 0x80 && i + 1 < path.size()) out.push_back(path[++i]);
    }
    return out;
  }
  void Put(const Text& path, const std::string& content) { files[Canonical(path)] = content; }
  bool Has(const Text& path) const { return files.count(Canonical(path)) > 0; }
  std::string Content(const Text& path) const { return files.at(Canonical(path)); }

  void SetStatus(const Text& text) override {
    if (statusHistory.empty() || statusHistory.back() != text) statusHistory.push_back(text);
  }
  Text Status() const { return statusHistory.empty() ? Text() : statusHistory.back(); }
  void ProcessPendingEvents() override {
    if (onEvents) onEvents();
  }
  bool WindowClosed() override { return closed; }
  MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle, const Text& caption) override {
    messages.emplace_back(message, caption);
    return answer;
  }
  Text BrowseForFolder(const Text& title) override {
    browseTitles.push_back(title);
    return folderChoice;
  }
  Text NamesBoxContent() override { return namesBox; }
  bool RecycleOnDelete() override { return recycle; }

  FileOutcome DeleteOneFile(const Text& path) override {
    ++outrightDeletes;
    auto key = Canonical(path);
    for (const auto& locked : readOnly) {
      if (locked == key) return FileOutcome::Failed("read-only");
    }
    return files.erase(key) > 0 ? FileOutcome::Done() : FileOutcome::Failed("missing");
  }
  // Read-only files stay, as on the real file system.
  std::vector<RecycleOutcome> RecycleFiles(std::span<const Text> paths) override {
    recycleBatches.push_back(paths.size());
    std::vector<RecycleOutcome> outcomes;
    for (const Text& path : paths) {
      auto key = Canonical(path);
      bool held = std::find(readOnly.begin(), readOnly.end(), key) != readOnly.end();
      if (!held && files.erase(key) > 0) recycled.push_back(key);
      outcomes.push_back(files.count(key) ? RecycleOutcome(Failure{"recycle", path, 0, "read-only"}) : std::nullopt);
    }
    return outcomes;
  }
  void RunFileWork(const std::function<void()>& work, const std::function<void()>& betweenEvents) override {
    worker_.Start(work);
    while (!worker_.Ended()) {
      if (onWorkEvents) onWorkEvents();
      betweenEvents();
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
  }
  FileOutcome CopyOneFile(const Text& source, const Text& destination, const CopyOptions& options) override {
    if (beforeTransfer) beforeTransfer(destination);
    auto from = files.find(Canonical(source));
    if (from == files.end()) return FileOutcome::Failed("missing");
    if (options.existing == ExistingFile::Keep && files.count(Canonical(destination))) {
      return FileOutcome::TargetTaken("exists");
    }
    // As the system's copy: never onto the source itself.
    if (from->first == Canonical(destination)) return FileOutcome::Failed("same file");
    if (StoppedMidFile(from->first, from->second, options)) return FileOutcome::Stopped();
    files[Canonical(destination)] = from->second;
    return FileOutcome::Done();
  }
  FileOutcome MoveOneFile(const Text& source, const Text& destination, const CopyOptions& options) override {
    if (beforeTransfer) beforeTransfer(destination);
    auto from = Canonical(source), to = Canonical(destination);
    if (!files.count(from)) return FileOutcome::Failed("missing");
    if (options.existing == ExistingFile::Keep && files.count(to)) return FileOutcome::TargetTaken("exists");
    if (StoppedMidFile(from, files[from], options)) return FileOutcome::Stopped();
    if (files.count(to)) {  // the rename fails: copy over, then delete the source
      files[to] = files[from];
      DeleteOneFile(source);
      return FileOutcome::Done();
    }
    files[to] = files[from];
    files.erase(from);
    return FileOutcome::Done();
  }
  std::optional<FileIdentity> IdentifyFile(const Text& path) override {
    auto found = files.find(Canonical(path));
    if (found == files.end()) return std::nullopt;
    // Like a volume without file ids: the canonical path decides.
    return FileIdentity{0, {}, std::wstring(found->first.begin(), found->first.end())};
  }
  std::optional<FileFacts> FactsOf(const Text& path) override {
    auto found = files.find(Canonical(path));
    if (found == files.end()) return std::nullopt;
    return FileFacts{found->second.size(), "2026-01-01 00:00:00"};
  }
  bool NothingAt(const Text& path) override {
    auto key = Canonical(path);
    return !files.count(key) && std::find(folders.begin(), folders.end(), key) == folders.end();
  }
  FileOutcome CreateFolders(const Text& folder) override {
    if (files.count(Canonical(folder))) return FileOutcome::Failed("a file has its name");
    folders.push_back(Canonical(folder));
    return FileOutcome::Done();
  }
  Text ProgramDirectory() override { return programDirectory; }
  bool WriteWholeFile(const Text& path, std::span<const unsigned char> bytes) override {
    if (writesFail) return false;
    files[Canonical(path)] = std::string(bytes.begin(), bytes.end());
    return true;
  }
  bool AppendToFile(const Text& path, std::string_view header, std::string_view bytes) override {
    if (appendsFail) return false;
    std::string& file = appended[Canonical(path)];
    if (file.empty()) file = header;
    file.append(bytes);
    return true;
  }
  Text LocalTimeNow() override { return now; }
  void ShellOpen(const Text& path) override { opened.push_back(path); }

 private:
  bool StoppedMidFile(const std::string& path, const std::string& content, const CopyOptions& options) {
    if (path != stopsMidFile || !options.watch) return false;
    options.watch->Copied(content.size() / 2);
    while (!options.watch->StopWanted()) std::this_thread::yield();
    return true;
  }

  WorkerThread worker_{nullptr};
};

}  // namespace tarnwell
