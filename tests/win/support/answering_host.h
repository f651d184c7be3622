// The real window and file system for the result operations, with the
// folder browser's answer given by the test and every message box kept and
// answered with OK instead of shown.
#pragma once

#include <utility>

#include "ui/window_result_host_win.h"

namespace tarnwell::testing {

class AnsweringHost : public WindowResultHost {
 public:
  using WindowResultHost::WindowResultHost;
  Text folderChoice;
  TextList shown;
  Text BrowseForFolder(const Text&) override { return folderChoice; }
  MessageBoxButton ShowMessageBox(const Text& message, MessageBoxStyle, const Text&) override {
    shown.push_back(message);
    return MessageBoxButton::Ok;
  }
  // The boxes shown since the last call.
  TextList TakeShown() { return std::exchange(shown, {}); }
};

}  // namespace tarnwell::testing
