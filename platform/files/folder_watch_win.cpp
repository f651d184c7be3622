// The change watch of Windows: ReadDirectoryChangesW on the folder, its whole
// subtree, for file and folder names, overlapped, into a buffer of 64 KB.
// The folder is opened with every share mode, so the watch never stands in
// the way of a rename or a delete of anything below it. The first read is
// issued before Watch returns (the system records changes from that call
// on, also while the thread handles a completion); a thread of the watch's
// own waits for each completion, reports it and issues the next read.
#include <windows.h>
#include <dbt.h>

#include <string_view>
#include <system_error>
#include <future>
#include <thread>
#include <vector>

#include "platform/base/debug_output.h"
#include "platform/base/system_error_win.h"
#include "platform/base/wine.h"
#include "platform/files/file_identity_win.h"
#include "platform/files/file_system.h"
#include "platform/files/volume_removal_win.h"
#include "platform/base/entry_guard.h"
#include "platform/files/folder_watch.h"
#include "platform/text/gb18030_wide_win.h"
#include "platform/files/long_path_win.h"
#include "platform/base/unique_handle_win.h"

namespace tarnwell {
namespace {

constexpr DWORD kBufferBytes = 64 * 1024;
constexpr DWORD kWatchedChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

FolderChange::Action ActionOf(DWORD action) {
  switch (action) {
    case FILE_ACTION_ADDED: return FolderChange::Action::Added;
    case FILE_ACTION_REMOVED: return FolderChange::Action::Removed;
    case FILE_ACTION_RENAMED_OLD_NAME: return FolderChange::Action::RenamedFrom;
    case FILE_ACTION_RENAMED_NEW_NAME: return FolderChange::Action::RenamedTo;
    default: return FolderChange::Action::Modified;
  }
}

class Win32FolderWatch final : public FolderWatch {
 public:
  explicit Win32FolderWatch(FolderChangeReceiver& receiver) : receiver_(receiver), buffer_(kBufferBytes / sizeof(DWORD)) {}

  ~Win32FolderWatch() override {
    if (thread_.joinable()) {
      SetEvent(stop_.get());
      thread_.join();
    }
    if (removalNotice_) UnregisterDeviceNotification(removalNotice_);
  }

  std::optional<FileIdentity> Identity() const override { return identity_; }

  bool Start(const Text& folder) {
    // "C:" names the drive's root for a walk ("C:\x" below it), so the
    // folder watched is the one the walk lists.
    folder_.reset(CreateFileW(Win32PathOf(folder + "\\").c_str(), FILE_LIST_DIRECTORY,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    if (!folder_) return false;
    identity_ = IdentifyOpenFile(folder_.get(), Win32PathOf(folder + "\\"));
    // Windows asks the window before the volume under the handle goes.
    if (HWND window = VolumeRemovalWindow()) {
      DEV_BROADCAST_HANDLE filter{};
      filter.dbch_size = sizeof filter;
      filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
      filter.dbch_handle = folder_.get();
      removalNotice_ = RegisterDeviceNotificationW(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    completed_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    stop_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!completed_ || !stop_) return false;
    // The reads are issued on the watch's own thread: the system cancels a
    // thread's reads when it ends, and the thread of a walk ends with it.
    std::promise<bool> armed;
    std::future<bool> issued = armed.get_future();
    try {
      thread_ = std::thread([this, &armed] {
        CatchAtEntry("a folder watch's thread", [this, &armed] {
          const bool reading = IssueRead();
          armed.set_value(reading);
          if (reading) Run();
        });
      });
    } catch (const std::system_error&) {
      return false;
    }
    // Armed before Watch returns, so before the walk opens a folder.
    if (issued.get()) return true;
    thread_.join();
    return false;
  }

 private:
  bool IssueRead() {
    ResetEvent(completed_.get());
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = completed_.get();
    reading_ = ReadDirectoryChangesW(folder_.get(), buffer_.data(), kBufferBytes, TRUE, kWatchedChanges, nullptr,
                                     &overlapped_, nullptr) != FALSE;
    return reading_;
  }

  // Cancels the read under way and waits until the system is done with the buffer.
  void EndRead() {
    if (!reading_) return;
    CancelIoEx(folder_.get(), &overlapped_);
    DWORD bytes = 0;
    GetOverlappedResult(folder_.get(), &overlapped_, &bytes, TRUE);
    reading_ = false;
  }

  void Run() {
    // Any way out of the loop but the stop is a lost watch.
    bool lost = true;
    try {
      lost = !Watch();
    } catch (...) {
      EndRead();
      receiver_.Lost();
      throw;
    }
    EndRead();
    if (lost) receiver_.Lost();
  }

  // Reports completions until the stop (true) or a read that lost changes (false).
  bool Watch() {
    const HANDLE events[] = {stop_.get(), completed_.get()};
    std::vector<FolderChange> changes;
    for (;;) {
      DWORD woken = WaitForMultipleObjects(2, events, FALSE, INFINITE);
      if (woken == WAIT_OBJECT_0) return true;
      if (woken != WAIT_OBJECT_0 + 1) {
        WriteDebugLine("Tarnwell: a folder watch could not wait for its changes");
        return false;
      }
      DWORD bytes = 0;
      const bool read = GetOverlappedResult(folder_.get(), &overlapped_, &bytes, FALSE) != FALSE;
      reading_ = false;
      // No bytes: the changes did not fit into the buffer, and are lost.
      if (!read || bytes == 0) {
        WriteDebugLine(read ? "Tarnwell: a folder watch's buffer overflowed"
                            : "Tarnwell: a folder watch's read failed (or its buffer overflowed)");
        return false;
      }
      ReadChanges(bytes, changes);
      receiver_.Changed(changes);
      if (!IssueRead()) {
        WriteDebugLine("Tarnwell: a folder watch could not read on");
        return false;
      }
    }
  }

  void ReadChanges(DWORD bytes, std::vector<FolderChange>& changes) {
    changes.clear();
    const auto* start = reinterpret_cast<const unsigned char*>(buffer_.data());
    DWORD offset = 0;
    for (;;) {
      if (offset + sizeof(FILE_NOTIFY_INFORMATION) > bytes) break;
      const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(start + offset);
      const std::wstring_view name(record->FileName, record->FileNameLength / sizeof(WCHAR));
      changes.push_back(FolderChange{ActionOf(record->Action), WideToGb18030(name)});
      if (record->NextEntryOffset == 0) break;
      offset += record->NextEntryOffset;
    }
  }

  FolderChangeReceiver& receiver_;
  std::vector<DWORD> buffer_;  // DWORD-aligned, as the records must be
  UniqueFile folder_;
  std::optional<FileIdentity> identity_;
  HDEVNOTIFY removalNotice_ = nullptr;
  UniqueHandle completed_;
  UniqueHandle stop_;
  OVERLAPPED overlapped_{};
  bool reading_ = false;
  std::thread thread_;
};

class Win32FolderWatcher final : public FolderWatcher {
 public:
  std::unique_ptr<FolderWatch> Watch(const Text& folder, FolderChangeReceiver& receiver) const override {
    auto watch = std::make_unique<Win32FolderWatch>(receiver);
    if (!watch->Start(folder)) {
      // The store only learns that there is no watch; the reason goes here.
      WriteDebugLine(Concat("Tarnwell: a change watch on ", folder, " could not be armed: ",
                            SystemErrorMessage(GetLastError())));
      return nullptr;
    }
    return watch;
  }
  // Wine 8 keeps naming a renamed folder by its old name in later changes.
  bool OldNamesAfterRename() const override { return oldNames_; }
  std::optional<FileIdentity> IdentityOf(const Text& folder) const override { return IdentifyFile(folder + "\\"); }

 private:
  bool oldNames_ = RunsUnderWine();
};

}  // namespace

const FolderWatcher& SystemFolderWatcher() {
  static const Win32FolderWatcher watcher;
  return watcher;
}

}  // namespace tarnwell
