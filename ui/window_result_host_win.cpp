#include "ui/window_result_host_win.h"

#include "platform/window/event_pump_win.h"
#include "platform/files/appending_file_win.h"
#include "platform/files/file_facts.h"
#include "platform/files/file_system.h"
#include "platform/files/whole_file.h"
#include "platform/text/gbk_literal.h"
#include "platform/window/message_box_win.h"
#include "platform/files/recycle_bin.h"
#include "platform/window/shell.h"
#include "platform/base/system_error_win.h"
#include "platform/window/window_properties_win.h"
#include "ui/open_file_win.h"
#include "ui/settings_file.h"

namespace tarnwell {
namespace {

// Called with the operation's result, so the thread's last error is still its own.
FileOutcome OutcomeOf(bool done) {
  if (done) return FileOutcome::Done();
  const DWORD error = GetLastError();
  return FileOutcome::Failed(SystemErrorMessage(error), error);
}

// A copy or move that keeps what is at its destination tells a file there
// by the system's "file exists"; one that its watch stopped, by "request
// aborted"; a verified one whose read-back differs, by the program's code.
FileOutcome CopyOutcomeOf(bool done, const CopyOptions& options) {
  const DWORD error = GetLastError();
  if (done) return FileOutcome::Done();
  if (options.existing == ExistingFile::Keep && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)) {
    return FileOutcome::TargetTaken(SystemErrorMessage(error), error);
  }
  if (error == ERROR_REQUEST_ABORTED && options.watch && options.watch->StopWanted()) return FileOutcome::Stopped();
  if (error == kCopyDiffers) return FileOutcome::Failed("校验不一致"_gbk);
  return FileOutcome::Failed(SystemErrorMessage(error));
}

// How long the window thread waits for a piece of file work before it
// dispatches its events meanwhile: short enough that nobody sees the window
// wait.
constexpr int kQuickWorkMilliseconds = 15;

// The file opened at the first append and held open; after a failed append
// it is opened again for the next one (a share that came back, a file
// another program had locked).
class HeldAppends final : public FileAppends {
 public:
  explicit HeldAppends(Text path) : path_(std::move(path)) {}
  bool Append(std::string_view header, std::string_view bytes) override {
    if (!file_ || !file_->Opened()) file_.emplace(path_);
    if (file_->Append(header, bytes)) return true;
    file_.reset();
    return false;
  }

 private:
  Text path_;
  std::optional<AppendingFile> file_;
};

}  // namespace

void WindowResultHost::SetStatus(const Text& text) {
  HWND status = window_.ControlWindow(Control::StatusLabel);
  // The scans write the same text for every row: repaint only on a change.
  if (TextEquals(GetCaption(status), text)) return;
  // What the text tells of has happened to the list too: the list shows
  // every row first (it learns of appended rows only every so often).
  window_.ResultView().SyncRowCount();
  SetCaption(status, text);
}

void WindowResultHost::ProcessPendingEvents() { tarnwell::ProcessPendingEvents(); }

// The window's handle is gone once it has been destroyed.
bool WindowResultHost::WindowClosed() { return window_.Handle() == nullptr; }

MessageBoxButton WindowResultHost::ShowMessageBox(const Text& message, MessageBoxStyle style, const Text& caption) {
  if (caption.empty()) return tarnwell::ShowMessageBox(message, style);
  return tarnwell::ShowMessageBox(message, style, caption);
}

Text WindowResultHost::BrowseForFolder(const Text& title) { return tarnwell::BrowseForFolder(title); }

Text WindowResultHost::NamesBoxContent() { return GetContent(window_.ControlWindow(Control::NamesBox)); }

bool WindowResultHost::RecycleOnDelete() {
  return TextEquals(ReadSetting(programDirectory_, "回收站"_gbk), "真"_gbk);
}

FileOutcome WindowResultHost::DeleteOneFile(const Text& path) { return OutcomeOf(tarnwell::DeleteOneFile(path)); }

std::vector<RecycleOutcome> WindowResultHost::RecycleFiles(std::span<const Text> paths) {
  return tarnwell::RecycleFiles(paths);
}

void WindowResultHost::RunFileWork(const std::function<void()>& work, const std::function<void()>& betweenEvents) {
  if (!worker_) {
    workEnded_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    worker_ = std::make_unique<WorkerThread>([ended = workEnded_.get()] { SetEvent(ended); });
  }
  worker_->Start(work);
  // Most file work (a small file's copy, a delete) ends within a few
  // milliseconds: it is waited for without a turn of the events, which
  // under Wine costs as much again as the hand-over itself. The scan of the
  // rows turns the events before each row all the same.
  if (worker_->WaitForEnd(kQuickWorkMilliseconds) || !worker_->NotifyAtEnd()) return;
  DispatchEventsUntil(workEnded_.get(), [this] { return worker_->Ended(); }, betweenEvents);
}

FileOutcome WindowResultHost::CopyOneFile(const Text& source, const Text& destination, const CopyOptions& options) {
  return CopyOutcomeOf(tarnwell::CopyOneFile(source, destination, options), options);
}

FileOutcome WindowResultHost::MoveOneFile(const Text& source, const Text& destination, const CopyOptions& options) {
  return CopyOutcomeOf(tarnwell::MoveOneFile(source, destination, options), options);
}

std::optional<FileIdentity> WindowResultHost::IdentifyFile(const Text& path) { return tarnwell::IdentifyFile(path); }

std::optional<FileFacts> WindowResultHost::FactsOf(const Text& path) { return ReadFileFacts(path); }

bool WindowResultHost::NothingAt(const Text& path) { return tarnwell::NothingAt(path); }

FileOutcome WindowResultHost::CreateFolders(const Text& folder) { return OutcomeOf(tarnwell::CreateFolders(folder)); }

Text WindowResultHost::ProgramDirectory() { return programDirectory_; }

bool WindowResultHost::WriteWholeFile(const Text& path, std::span<const unsigned char> bytes) {
  return tarnwell::WriteWholeFile(path, bytes);
}

bool WindowResultHost::AppendToFile(const Text& path, std::string_view header, std::string_view bytes) {
  return tarnwell::AppendToFile(path, header, bytes);
}

std::unique_ptr<FileAppends> WindowResultHost::AppendsTo(const Text& path) {
  return std::make_unique<HeldAppends>(path);
}

Text WindowResultHost::LocalTimeNow() { return tarnwell::LocalTimeNow(); }

void WindowResultHost::ShellOpen(const Text& path) { OpenOrTell(tarnwell::ShellOpen, path); }

}  // namespace tarnwell
