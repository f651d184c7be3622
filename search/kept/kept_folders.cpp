#include "search/kept/kept_folders.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>
#endif

#include "platform/base/debug_output.h"
#include "platform/base/entry_guard.h"
#include "platform/base/invariant.h"

namespace tarnwell {
namespace {

constexpr std::size_t kNoSeparator = static_cast<std::size_t>(-1);

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// A path as the store compares it: ASCII letters in lower case (only where
// they are characters of their own, never a byte inside a longer one), a
// run of "\" as one (a leading "\\" of a network path stays), and no "\" at
// the end. "D:\" and "D:" are one folder, as "D:\\x" and "d:\X" are.
Text KeyOf(std::string_view path) {
  // Written in place: a key is never longer than its path.
  Text key(path.size(), '\0');
  char* out = key.data();
  std::size_t written = 0;
  std::size_t at = 0;
  bool separator = false;
  if (path.starts_with("\\\\")) {
    out[written++] = '\\';
    out[written++] = '\\';
    at = 2;
    separator = true;
  }
  const std::size_t leading = written;
  while (at < path.size()) {
    const char c = path[at];
    if (static_cast<unsigned char>(c) < 0x80) {
      if (c != '\\') {
        out[written++] = LowerAscii(c);
      } else if (!separator) {
        out[written++] = '\\';
      }
      separator = c == '\\';
      ++at;
      continue;
    }
    // A longer character, copied whole: its trail byte may be a "\" or a letter.
    const std::size_t length = CharacterLength(path, at);
    for (std::size_t i = 0; i < length; ++i) out[written++] = path[at + i];
    separator = false;
    at += length;
  }
  if (separator && written > leading) --written;
  key.resize(written);
  return key;
}

// Roots that name one folder whatever the working directory: "C:", "C:\...",
// and network paths. The portable build has no watch of its own; for the
// benchmarks with a watch of theirs it also takes absolute POSIX paths.
bool Keepable(const Text& key) {
  if (key.size() > 2 && key.starts_with("\\\\")) return true;
#ifndef _WIN32
  if (key.starts_with("/")) return true;
#endif
  const bool drive = key.size() >= 2 && key[0] >= 'a' && key[0] <= 'z' && key[1] == ':';
  return drive && (key.size() == 2 || key[2] == '\\');
}

// The last "\" that is a character of its own, or kNoSeparator.
std::size_t LastSeparator(std::string_view key) {
  std::size_t last = kNoSeparator;
  for (std::size_t at = 0; at < key.size(); at += CharacterLength(key, at)) {
    if (key[at] == '\\') last = at;
  }
  return last;
}

Text Join(std::string_view folder, std::string_view name) {
  return folder.empty() ? Text(name) : Concat(folder, "\\", name);
}

// A name's key: a name holds no "\", so only the case is folded.
bool SameKey(std::string_view name, std::string_view key) {
  if (name.size() != key.size()) return false;
  for (std::size_t at = 0; at < name.size();) {
    const std::size_t length = CharacterLength(name, at);
    if (length == 1) {
      if (LowerAscii(name[at]) != key[at]) return false;
    } else if (name.substr(at, length) != key.substr(at, length)) {
      return false;
    }
    at += length;
  }
  return true;
}

// True when the listing holds `key` as a file and as nothing else.
bool HoldsOnlyFile(const DirectoryListing& listing, std::string_view key) {
  bool file = false;
  for (std::size_t i = 0; i < listing.size(); ++i) {
    if (!SameKey(listing[i].name, key)) continue;
    if (listing[i].folder) return false;
    file = true;
  }
  return file;
}

bool Below(const Text& key, const Text& rootKey) {
  return key.starts_with(rootKey) && (key.size() == rootKey.size() || key[rootKey.size()] == '\\');
}

Text RelativeKey(const Text& key, const Text& rootKey) {
  return key.size() == rootKey.size() ? Text() : key.substr(rootKey.size() + 1);
}

bool Overlap(const Text& a, const Text& b) { return Below(a, b) || Below(b, a); }

// A change that the watch of the root `from` reported, as the root `to`
// (which overlaps it) sees it; nothing when it lies outside `to`. A change
// of the folder `to` itself has an empty path, which no root can place.
std::optional<FolderChange> ChangeAsSeenFrom(const FolderChange& change, const Text& from, const Text& to) {
  if (to == from) return change;
  if (Below(from, to)) return FolderChange{change.action, Join(RelativeKey(from, to), change.path)};
  const Text inside = RelativeKey(to, from);
  const Text path = KeyOf(change.path);
  if (path == inside) return FolderChange{change.action, Text()};
  if (path.size() > inside.size() && path.starts_with(inside) && path[inside.size()] == '\\') {
    return FolderChange{change.action, path.substr(inside.size() + 1)};
  }
  return std::nullopt;
}

}  // namespace

class KeptFolders::Receiver final : public FolderChangeReceiver {
 public:
  Receiver(KeptFolders& store, std::uint64_t root) : store_(store), root_(root) {}
  void Changed(const std::vector<FolderChange>& changes) override { store_.Changed(root_, changes); }
  void Lost() override { store_.Lost(root_); }

 private:
  KeptFolders& store_;
  std::uint64_t root_;
};

struct KeptFolders::Root {
  Text key;
  Text typed;                              // the root as the search that armed it named it
  std::optional<FileIdentity> identity;    // the folder its watch holds
  std::uint64_t number = 0;
  std::uint64_t generation = 0;
  bool armed = false;  // its watch is armed: only then are its folders kept
  FolderMap folders;  // by key below the root ("" is the root)
  std::size_t entries = 0;
  std::size_t bytes = 0;
  std::size_t nameBytes = 0;
  std::unique_ptr<Receiver> receiver;
  std::unique_ptr<FolderWatch> watch;  // declared last: stopped before the rest goes
};

KeptFolders::KeptFolders(const FolderWatcher& watcher, KeptFoldersLimits limits)
    : watcher_(watcher), limits_(limits), reaper_([this] { CatchAtEntry("the kept folders' reaper", [this] { Reap(); }); }) {}

void KeptFolders::Reap() {
  std::unique_lock lock(mutex_);
  for (;;) {
    retiredSignal_.wait(lock, [this] { return reaperStopping_ || !retired_.empty(); });
    if (retired_.empty()) return;  // stopping, nothing left
    std::vector<std::unique_ptr<Root>> retired;
    retired.swap(retired_);
    lock.unlock();
    retired.clear();  // each watch stops (its thread joined) before its receiver goes
    lock.lock();
  }
}

KeptFolders::~KeptFolders() { Close(); }

std::unique_lock<std::mutex> KeptFolders::Lock() const {
  // The walk and its listing helpers take the lock twice a folder, each
  // time for a moment: a short spin finds it free far more cheaply than a
  // wait that puts the thread to sleep and wakes it again.
  for (int attempt = 0; attempt < 100; ++attempt) {
    if (mutex_.try_lock()) return std::unique_lock(mutex_, std::adopt_lock);
#if defined(__x86_64__) || defined(_M_X64)
    _mm_pause();
#endif
  }
  return std::unique_lock(mutex_);
}

void KeptFolders::VouchForRootsOver(const Text& key) {
  struct Held {
    std::uint64_t number;
    Text typed;
    std::optional<FileIdentity> identity;
  };
  std::vector<Held> held;
  {
    const auto lock = Lock();
    for (const auto& root : roots_) {
      if (root->armed && Overlap(key, root->key)) held.push_back({root->number, root->typed, root->identity});
    }
  }
  if (held.empty()) return;
  // Opened outside the lock: a slow share may take long.
  std::vector<std::uint64_t> doubtful;
  for (const Held& root : held) {
    const std::optional<FileIdentity> now = watcher_.IdentityOf(root.typed);
    if (!now || !root.identity || *now != *root.identity) doubtful.push_back(root.number);
  }
  if (doubtful.empty()) return;
  {
    const auto lock = Lock();
    for (std::uint64_t number : doubtful) {
      if (Root* root = RootNumbered(number)) {
        WriteDebugLine(Concat("Tarnwell: ", root->typed, " is no longer the folder its watch holds; it is walked anew"));
        DropRoot(*root);
      }
    }
  }
  DestroyRetired();
}

void KeptFolders::DropVolume(const Text& volume) {
  const Text key = KeyOf(volume);
  std::vector<std::unique_ptr<Root>> retired;
  {
    const auto lock = Lock();
    for (std::size_t i = roots_.size(); i-- > 0;) {
      if (i < roots_.size() && Below(roots_[i]->key, key)) DropRoot(*roots_[i]);
    }
    // Closed here, before this returns: the system removes the volume only
    // once no handle holds it.
    retired.swap(retired_);
  }
  retired.clear();
}

void KeptFolders::PrepareRoot(const Text& root) {
  const Text key = KeyOf(root);
  if (!Keepable(key)) return;
  VouchForRootsOver(key);
  std::uint64_t number = 0;
  {
    const auto lock = Lock();
    if (closed_) return;
    if (Root* covering = CoveringRoot(key, false)) {
      const Text below = RelativeKey(key, covering->key);
      if (below.empty() || covering->folders.contains(below)) return;
    }
    // Listed before it is armed, so that no second watch is armed for it;
    // until then nothing of it is kept or answered.
    auto made = std::make_unique<Root>();
    made->key = key;
    made->typed = root;
    made->number = number = nextRoot_++;
    roots_.push_back(std::move(made));
    while (roots_.size() > limits_.roots) DropRoot(*roots_.front());
  }
  // Armed outside the lock: opening a folder may take long, and changes may
  // come at once.
  auto receiver = std::make_unique<Receiver>(*this, number);
  std::unique_ptr<FolderWatch> watch = watcher_.Watch(root, *receiver);
  {
    const auto lock = Lock();
    Root* made = RootNumbered(number);
    // A watch that cannot say which folder it holds cannot vouch for a path.
    std::optional<FileIdentity> identity = watch ? watch->Identity() : std::nullopt;
    if (made != nullptr && watch && identity) {
      made->identity = std::move(identity);
      made->receiver = std::move(receiver);
      made->watch = std::move(watch);
      made->armed = true;
    } else if (made != nullptr) {
      WriteDebugLine(Concat("Tarnwell: no change watch could be armed on ", root, "; it is walked every time"));
      DropRoot(*made);
    }
  }
  // A watch armed for a root dropped meanwhile goes before its receiver.
  watch.reset();
  DestroyRetired();
}

bool KeptFolders::Covers(const Text& root) {
  const Text key = KeyOf(root);
  if (!Keepable(key)) return false;
  const auto lock = Lock();
  const Root* covering = CoveringRoot(key, true);
  if (covering == nullptr) return false;
  const Text below = RelativeKey(key, covering->key);
  return below.empty() || covering->folders.contains(below);
}

KeptFolders::ListingTicket KeptFolders::Begin(const Text& folder, DirectoryListing& listing) {
  ListingTicket begun;
  Text key = KeyOf(folder);
  std::size_t belowAt = 0;  // where the key below the root starts in `key`
  {
    const auto lock = Lock();
    Root* root = CoveringRoot(key, true);
    if (root == nullptr) return begun;
    belowAt = key.size() == root->key.size() ? key.size() : root->key.size() + 1;
    const std::string_view below = std::string_view(key).substr(belowAt);
    auto found = root->folders.find(below);
    if (found != root->folders.end()) {
      const Folder& kept = found->second;
      if (kept.listed && !kept.stale) {
        listing = kept.listing;
        begun.answered = true;
        return begun;
      }
    } else {
      // A folder is new to the store only below a folder it holds, whose kept
      // listing has it: so every folder held hangs from the root, and a change
      // can always be traced to what is held above it.
      if (!below.empty()) {
        const std::size_t separator = LastSeparator(below);
        const std::string_view above = separator == kNoSeparator ? std::string_view() : below.substr(0, separator);
        auto parent = root->folders.find(above);
        if (parent == root->folders.end() || !parent->second.listed) return begun;
        const std::string_view name = separator == kNoSeparator ? below : below.substr(separator + 1);
        if (!parent->second.Enters(name)) return begun;
      }
      auto made = root->folders.try_emplace(Text(below)).first;
      // Made now: a change that dropped a folder of this name earlier than the
      // listing began does not matter, one that comes later will be newer.
      made->second.touched = root->generation;
      Count(*root, made->first, made->second, 1);
    }
    begun.keep = true;
    begun.root = root->number;
    begun.generation = root->generation;
  }
  key.erase(0, belowAt);
  begun.folder = std::move(key);
  return begun;
}

void KeptFolders::Record(const ListingTicket& begun, ListingOutcome outcome, const DirectoryListing& listing) {
  if (!begun.keep) return;
  // What does not need the store is made before its lock: helpers list and
  // record side by side, and every moment under the lock is one they may
  // wait for.
  std::vector<Text> entered;
  DirectoryListing copy;
  std::size_t nameBytes = 0;
  if (outcome == ListingOutcome::Listed) {
    for (std::size_t i = 0; i < listing.size(); ++i) {
      const DirectoryEntry entry = listing[i];
      nameBytes += entry.name.size();
      if (WalkEnters(entry)) entered.push_back(KeyOf(entry.name));
    }
    std::sort(entered.begin(), entered.end());
    copy = listing;  // a copy holds no spare room
  }
  bool dropped = false;
  {
    const auto lock = Lock();
    Root* root = RootNumbered(begun.root);
    if (root == nullptr) return;
    auto found = root->folders.find(begun.folder);
    if (found == root->folders.end()) return;
    Folder& kept = found->second;
    if (outcome != ListingOutcome::Listed) {
      kept.stale = true;
      return;
    }
    if (std::adjacent_find(entered.begin(), entered.end()) != entered.end()) {
      // Two folders whose names differ only in ASCII case (a case-sensitive
      // folder) would share one key: nothing of this root can be kept.
      WriteDebugLine(Concat("Tarnwell: the folder ", begun.folder, " holds folders of one name in two cases"));
      DropRoot(*root);
      dropped = true;
    } else {
      // Folders kept below that this listing no longer has are gone.
      for (const Text& subfolder : kept.subfolders) {
        if (!std::binary_search(entered.begin(), entered.end(), subfolder)) {
          DropSubtree(*root, Join(begun.folder, subfolder));
        }
      }
      Count(*root, found->first, kept, -1);
      kept.listing.Swap(copy);
      kept.subfolders.swap(entered);
      kept.nameBytes = nameBytes;
      kept.listed = true;
      kept.stale = kept.touched > begun.generation;
      Count(*root, found->first, kept, 1);
      const std::size_t roots = roots_.size();
      KeepWithinLimits();
      dropped = roots_.size() != roots;
    }
  }
  // The listing and keys it replaced (now in `copy` and `entered`) go when
  // this returns, outside the lock.
  if (dropped) DestroyRetired();
}

void KeptFolders::Close() {
  {
    const auto lock = Lock();
    closed_ = true;
    while (!roots_.empty()) DropRoot(*roots_.front());
    reaperStopping_ = true;
  }
  retiredSignal_.notify_all();
  if (reaper_.joinable()) reaper_.join();
  DestroyRetired();
}

KeptFoldersFigures KeptFolders::Figures() const {
  const auto lock = Lock();
  KeptFoldersFigures figures;
  figures.roots = roots_.size();
  for (const auto& root : roots_) figures.folders += root->folders.size();
  figures.entries = entries_;
  figures.nameBytes = nameBytes_;
  figures.bytes = bytes_;
  figures.reports = reports_;
  return figures;
}

KeptFolders::Root* KeptFolders::CoveringRoot(const Text& key, bool armedOnly) {
  Root* covering = nullptr;
  for (const auto& root : roots_) {
    if (armedOnly && !root->armed) continue;
    if (!Below(key, root->key)) continue;
    // The deepest root that covers the folder: each root is true by its own watch.
    if (covering == nullptr || root->key.size() > covering->key.size()) covering = root.get();
  }
  return covering;
}

KeptFolders::Root* KeptFolders::RootNumbered(std::uint64_t number) {
  for (const auto& root : roots_) {
    if (root->number == number) return root.get();
  }
  return nullptr;
}

void KeptFolders::Changed(std::uint64_t number, const std::vector<FolderChange>& changes) {
  const auto lock = Lock();
  ++reports_;
  Root* reporting = RootNumbered(number);
  if (reporting == nullptr) return;
  // Every root the changes may lie in: the reporting one and those over and
  // under it, whatever watches the system also tells.
  const Text from = reporting->key;
  std::vector<std::uint64_t> affected;
  for (const auto& root : roots_) {
    if (Overlap(root->key, from)) affected.push_back(root->number);
  }
  for (std::uint64_t target : affected) {
    for (const FolderChange& change : changes) {
      Root* root = RootNumbered(target);
      if (root == nullptr) break;  // dropped with another
      const std::optional<FolderChange> seen = ChangeAsSeenFrom(change, from, root->key);
      if (!seen) continue;
      ++root->generation;
      if (!ApplyOne(*root, *seen)) {
        WriteDebugLine(Concat("Tarnwell: a change below ", root->key, " (", seen->path,
                              ") cannot be placed; the folder will be walked anew"));
        DropRoot(*root);
        break;
      }
    }
  }
}

void KeptFolders::Lost(std::uint64_t number) {
  const auto lock = Lock();
  ++reports_;
  if (Root* root = RootNumbered(number)) {
    WriteDebugLine(Concat("Tarnwell: changes below ", root->key, " were lost; the folder will be walked anew"));
    DropRoot(*root);
  }
}

bool KeptFolders::ApplyOne(Root& root, const FolderChange& change) {
  const Text path = KeyOf(change.path);
  const std::size_t separator = LastSeparator(path);
  const Text folder = separator == kNoSeparator ? Text() : path.substr(0, separator);
  const Text name = separator == kNoSeparator ? path : path.substr(separator + 1);
  if (name.empty()) return false;
  if (!TouchFolder(root, folder)) return false;
  if (change.action == FolderChange::Action::RenamedFrom && watcher_.OldNamesAfterRename()) {
    // The watch may name what was renamed by its old name from now on: only
    // a file the store knows cannot hide anything behind that name.
    auto parent = root.folders.find(folder);
    if (parent == root.folders.end() || !parent->second.listed || !HoldsOnlyFile(parent->second.listing, name)) {
      return false;
    }
  }
  // A folder that went, came or was renamed: what is kept below its name
  // is no longer known. A modified entry keeps its name and its content.
  if (change.action != FolderChange::Action::Modified) DropSubtree(root, Join(folder, name));
  return true;
}

bool KeptFolders::TouchFolder(Root& root, const Text& folder) {
  auto found = root.folders.find(folder);
  if (found != root.folders.end()) {
    found->second.stale = true;
    found->second.touched = root.generation;
    return true;
  }
  // Not held: the folder held nearest above it tells whether a walk will
  // list this one when it comes to it (then the change is in that listing).
  std::string_view rest = folder;
  while (!rest.empty()) {
    const std::size_t separator = LastSeparator(rest);
    const std::string_view child = separator == kNoSeparator ? rest : rest.substr(separator + 1);
    rest = separator == kNoSeparator ? std::string_view() : rest.substr(0, separator);
    auto above = root.folders.find(Text(rest));
    if (above == root.folders.end()) continue;
    const Folder& held = above->second;
    // Not listed yet, or stale: it is listed again, and what is below it
    // that the store lacks is walked anew.
    if (!held.listed || held.stale) return true;
    return held.Enters(child);
  }
  return true;  // nothing of this root is held yet
}

void KeptFolders::DropSubtree(Root& root, const Text& folder) {
  std::vector<Text> pending{folder};
  while (!pending.empty()) {
    const Text key = std::move(pending.back());
    pending.pop_back();
    auto found = root.folders.find(key);
    if (found == root.folders.end()) continue;
    for (const Text& subfolder : found->second.subfolders) pending.push_back(Join(key, subfolder));
    Count(root, found->first, found->second, -1);
    root.folders.erase(found);
  }
}

void KeptFolders::Count(Root& root, const Text& key, Folder& folder, int sign) {
  if (sign > 0) {
    const std::size_t names = folder.nameBytes;  // set by the caller with the listing
    // The map's node (key, folder, link and cached hash), its bucket, the
    // key's own buffer when it is too long to sit inside it, the names, one
    // record of 8 bytes an entry and the subfolders' keys.
    const std::size_t keyBuffer = key.capacity() > 15 ? key.capacity() + 1 : 0;
    std::size_t subfolderBytes = folder.subfolders.capacity() * sizeof(Text);
    for (const Text& subfolder : folder.subfolders) {
      subfolderBytes += subfolder.capacity() > 15 ? subfolder.capacity() + 1 : 0;
    }
    folder.bytes = sizeof(std::pair<const Text, Folder>) + 3 * sizeof(void*) + keyBuffer + names +
                   8 * folder.listing.size() + subfolderBytes;
    root.entries += folder.listing.size();
    root.nameBytes += names;
    root.bytes += folder.bytes;
    entries_ += folder.listing.size();
    nameBytes_ += names;
    bytes_ += folder.bytes;
  } else {
    TARNWELL_INVARIANT(root.entries >= folder.listing.size() && root.bytes >= folder.bytes &&
                       entries_ >= folder.listing.size() && bytes_ >= folder.bytes);
    root.entries -= folder.listing.size();
    root.nameBytes -= folder.nameBytes;
    root.bytes -= folder.bytes;
    entries_ -= folder.listing.size();
    nameBytes_ -= folder.nameBytes;
    bytes_ -= folder.bytes;
  }
}

void KeptFolders::DropRoot(Root& root) {
  auto found = std::find_if(roots_.begin(), roots_.end(), [&](const auto& held) { return held.get() == &root; });
  if (found == roots_.end()) return;
  TARNWELL_INVARIANT(entries_ >= root.entries && nameBytes_ >= root.nameBytes && bytes_ >= root.bytes);
  entries_ -= root.entries;
  nameBytes_ -= root.nameBytes;
  bytes_ -= root.bytes;
  const bool armed = root.armed;
  const Text key = root.key;
  retired_.push_back(std::move(*found));
  roots_.erase(found);
  retiredSignal_.notify_one();
  if (!armed) return;
  // Its watch closes: a root over or under it may have heard of changes
  // only through this one (under Wine only the watch armed first on a
  // folder hears of it), so it can no longer vouch for what it holds.
  for (std::size_t i = roots_.size(); i-- > 0;) {
    if (i < roots_.size() && Overlap(roots_[i]->key, key)) DropRoot(*roots_[i]);
  }
}

void KeptFolders::KeepWithinLimits() {
  while (!roots_.empty() && (entries_ > limits_.entries || bytes_ > limits_.bytes)) {
    WriteDebugLine(Concat("Tarnwell: the kept folders are at their limit; ", roots_.front()->key, " is dropped"));
    DropRoot(*roots_.front());
  }
}

void KeptFolders::DestroyRetired() {
  std::vector<std::unique_ptr<Root>> retired;
  {
    const auto lock = Lock();
    retired.swap(retired_);
  }
  // Each watch stops (its thread joined) before its receiver goes.
  retired.clear();
}

}  // namespace tarnwell
