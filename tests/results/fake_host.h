// An in-memory stand-in for the window and the file system, recording what
// the result operations ask of them. Paths compare without regard to ASCII
// case, and "\\" counts as "\", as on Windows.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "results/result_host.h"

namespace tarnwell {

class FakeHost : public ResultHost {
 public:
  std::map<std::string, std::string> files;  // canonical path -> content
  std::vector<std::string> readOnly;         // canonical paths
  std::vector<Text> statusHistory;
  std::vector<std::pair<Text, Text>> messages;  // message, caption
  std::vector<Text> opened;
  std::vector<Text> browseTitles;
  Text folderChoice;
  MessageBoxButton answer = MessageBoxButton::Ok;
  Text namesBox;
  Text programDirectory = "C:\\prog";
  bool writesFail = false;
  std::function<void()> onEvents;  // runs inside ProcessPendingEvents

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
  MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle, const Text& caption) override {
    messages.emplace_back(message, caption);
    return answer;
  }
  Text BrowseForFolder(const Text& title) override {
    browseTitles.push_back(title);
    return folderChoice;
  }
  Text NamesBoxContent() override { return namesBox; }

  bool DeleteOneFile(const Text& path) override {
    auto key = Canonical(path);
    for (const auto& locked : readOnly) {
      if (locked == key) return false;
    }
    return files.erase(key) > 0;
  }
  bool CopyOneFile(const Text& source, const Text& destination) override {
    auto from = files.find(Canonical(source));
    if (from == files.end()) return false;
    files[Canonical(destination)] = from->second;
    return true;
  }
  bool MoveOneFile(const Text& source, const Text& destination) override {
    auto from = Canonical(source), to = Canonical(destination);
    if (!files.count(from)) return false;
    if (files.count(to)) {  // the rename fails: copy over, then delete the source
      files[to] = files[from];
      DeleteOneFile(source);
      return true;
    }
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  std::optional<FileIdentity> IdentifyFile(const Text& path) override {
    auto found = files.find(Canonical(path));
    if (found == files.end()) return std::nullopt;
    // Like a volume without file ids: the canonical path decides.
    return FileIdentity{0, {}, std::wstring(found->first.begin(), found->first.end())};
  }
  Text ProgramDirectory() override { return programDirectory; }
  bool WriteWholeFile(const Text& path, std::span<const unsigned char> bytes) override {
    if (writesFail) return false;
    files[Canonical(path)] = std::string(bytes.begin(), bytes.end());
    return true;
  }
  void ShellOpen(const Text& path) override { opened.push_back(path); }
};

}  // namespace tarnwell
