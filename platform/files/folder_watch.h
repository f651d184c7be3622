// Watching a folder and everything below it for entries that appear, go or
// change their names. A watch is armed before anything below the folder is
// listed, so that every change from then on is either reported or ends the
// watch as lost: it never passes in silence.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/files/file_identity.h"
#include "platform/text/text.h"

namespace tarnwell {

struct FolderChange {
  enum class Action : std::uint8_t { Added, Removed, Modified, RenamedFrom, RenamedTo };
  Action action = Action::Modified;
  // The entry that changed, "\"-separated, relative to the watched folder.
  Text path;
};

// Receives what a watch reports, on the watch's own thread.
class FolderChangeReceiver {
 public:
  virtual ~FolderChangeReceiver() = default;
  // Changes in the order the system reported them.
  virtual void Changed(const std::vector<FolderChange>& changes) = 0;
  // Changes may have passed unreported (the system's buffer overflowed, a
  // read failed, the folder went away); nothing more comes from this watch.
  virtual void Lost() = 0;
};

// A watch that is armed. Destroying it stops it: once the destructor has
// returned, no call to its receiver is under way and none comes.
class FolderWatch {
 public:
  virtual ~FolderWatch() = default;
  // The folder the watch holds open, as it was when armed (the watch
  // follows it when it is renamed, and no change tells of that); nothing
  // when the system cannot say.
  virtual std::optional<FileIdentity> Identity() const = 0;
};

class FolderWatcher {
 public:
  virtual ~FolderWatcher() = default;
  // Arms a watch on `folder` (a path as a search takes it: "C:", "D:\x").
  // Nothing when it cannot be armed. `receiver` outlives the watch.
  virtual std::unique_ptr<FolderWatch> Watch(const Text& folder, FolderChangeReceiver& receiver) const = 0;
  // True where a folder renamed may go on being named by its old name in
  // later changes (Wine 8 does this): a rename of anything but a known file
  // then leaves no change that can be placed with certainty.
  virtual bool OldNamesAfterRename() const = 0;
  // What `folder` names now, by a fresh open: compared with a watch's
  // Identity, it tells whether the path still leads to the folder watched.
  // Nothing when it names nothing (a volume gone) or the system cannot say.
  virtual std::optional<FileIdentity> IdentityOf(const Text& folder) const = 0;
};

// The watcher of the file system the program runs on (ReadDirectoryChangesW
// on Windows; none elsewhere: every watch fails to arm).
const FolderWatcher& SystemFolderWatcher();

}  // namespace tarnwell
