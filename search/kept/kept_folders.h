// The folders that searches have walked, kept in memory so that a later
// search of the same scope is answered without listing them again, and kept
// true by a change watch on each walked root.
//
// A root is kept only while a watch armed before its walk vouches for it.
// Each kept folder holds its last listing (names, folder and link flags, in
// listing order) and is fresh or stale. A change reported by the watch
// makes the folder that holds the changed entry stale, and drops what is
// kept below a folder that went, was renamed or came anew; a stale folder is
// listed again by the next walk that comes to it. Whatever the store cannot
// place with certainty drops the whole root, which the next search walks
// anew: a change in a folder it neither holds nor will list when a walk
// comes to it, a watch whose changes were lost (a buffer that overflowed, a
// read that failed), and, where the watcher says so, a rename of anything
// but a file the store knows.
//
// A root is answered from only while its path still leads to the folder
// its watch holds (a watch follows its folder when that is renamed, and no
// change tells of it): before each search of a root, every kept root over
// or under it is opened afresh and its identity compared with the one its
// watch was armed on; a different or missing one (a volume gone) drops it.
// Roots that overlap take each other's changes, whichever watch reports
// them (under Wine a folder's changes reach only the watch armed first on
// it), and a root whose watch closes takes every root that overlaps it
// along. A dropped root's watch is closed at once, on a thread of the
// store's own.
//
// Races: a listing is made outside the lock, and a change may come while it
// is made. Every change of a root counts one up in the root's generation,
// and a folder a change touches takes the new generation; a listing is
// kept as fresh only when no change touched its folder after the listing
// began (or dropped the root, or the folder). A listing that failed, or
// found no folder, is never fresh.
//
// Paths are matched up to ASCII case, doubled "\" and a trailing "\": a
// search of "d:\photos\" is answered from the root "D:\Photos". The store
// only answers listings; the rows are made by the walk from the root as the
// search names it.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/files/directory_listing.h"
#include "platform/files/folder_watch.h"
#include "platform/text/text.h"

namespace tarnwell {

struct KeptFoldersLimits {
  // Beyond either, the root kept longest ago is dropped (all of it).
  std::size_t entries = 20'000'000;
  std::size_t bytes = std::size_t{1} << 30;
  // Each kept root has a watch, with a thread of its own.
  std::size_t roots = 64;
};

// What the store holds, for the benchmarks and tests.
struct KeptFoldersFigures {
  std::size_t roots = 0;
  std::size_t folders = 0;
  std::size_t entries = 0;
  std::size_t nameBytes = 0;
  std::size_t bytes = 0;  // all it holds, names included
  std::uint64_t reports = 0;  // change reports and lost watches received so far
};

class KeptFolders {
 public:
  explicit KeptFolders(const FolderWatcher& watcher, KeptFoldersLimits limits = {});
  // Closes the store.
  ~KeptFolders();
  KeptFolders(const KeptFolders&) = delete;
  KeptFolders& operator=(const KeptFolders&) = delete;

  // Before the walk of `root` (a search's root as typed) lists anything:
  // makes sure a kept root covers it, arming a watch on it when none does
  // (the root then stays unkept when the watch cannot be armed). A root
  // covers it when it is that root, or a folder the root holds.
  void PrepareRoot(const Text& root);

  // Whether a kept root, armed, covers `root` as PrepareRoot would find it.
  bool Covers(const Text& root);

  // A ticket for one listing of a folder, given when the listing begins and
  // handed back with what it gave: answered from the store, to be kept once
  // made, or nothing of the store's.
  struct ListingTicket {
    bool answered = false;
    bool keep = false;
    std::uint64_t root = 0;        // the kept root's number
    std::uint64_t generation = 0;  // the root's generation when the listing began
    Text folder;                   // the folder's key, below the root
  };
  // Looks `folder` up: a fresh folder's kept entries go into `listing`.
  ListingTicket Begin(const Text& folder, DirectoryListing& listing);
  // Keeps the listing that Begin asked for, as it came out.
  void Record(const ListingTicket& begun, ListingOutcome outcome, const DirectoryListing& listing);

  // The volume `volume` ("E:") is going or gone (a drive ejected): every
  // root on it is dropped and its watch closed, so that nothing holds the
  // volume open and nothing of it is answered from memory.
  void DropVolume(const Text& volume);

  // Stops every watch and drops everything; nothing is kept from then on.
  void Close();

  KeptFoldersFigures Figures() const;

 private:
  struct Folder {
    DirectoryListing listing;
    std::uint64_t touched = 0;  // the generation of the last change that touched it
    std::size_t bytes = 0;      // what it holds, as counted against the limits
    std::size_t nameBytes = 0;
    // The keys of the subfolders the walk enters, sorted: what a change or a
    // new folder below is traced through without reading the listing.
    std::vector<Text> subfolders;
    bool listed = false;        // `listing` holds a listing made
    bool stale = false;

    bool Enters(std::string_view key) const { return std::binary_search(subfolders.begin(), subfolders.end(), key); }
  };
  struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
  };
  // Folders by key, looked up by views too.
  using FolderMap = std::unordered_map<Text, Folder, KeyHash, std::equal_to<>>;
  class Receiver;
  struct Root;

  std::unique_lock<std::mutex> Lock() const;

  // Under the lock.
  Root* CoveringRoot(const Text& key, bool armedOnly);
  Root* RootNumbered(std::uint64_t number);
  void Apply(Root& root, const std::vector<FolderChange>& changes);
  // False when the change cannot be placed with certainty.
  bool ApplyOne(Root& root, const FolderChange& change);
  bool TouchFolder(Root& root, const Text& folder);
  void DropSubtree(Root& root, const Text& folder);
  // Adds (sign 1) or takes away (-1) what the folder holds from the counts.
  void Count(Root& root, const Text& key, Folder& folder, int sign);
  // Drops the root, and with an armed one every root that overlaps it.
  void DropRoot(Root& root);
  // Drops the kept roots over or under `key` that no longer lead to the
  // folder their watch holds.
  void VouchForRootsOver(const Text& key);
  // Destroys the retired roots, on the store's own thread, as they come.
  void Reap();
  void KeepWithinLimits();
  // Destroys the dropped roots' watches; outside the lock, never on a
  // watch's own thread.
  void DestroyRetired();

  void Changed(std::uint64_t root, const std::vector<FolderChange>& changes);
  void Lost(std::uint64_t root);

  const FolderWatcher& watcher_;
  KeptFoldersLimits limits_;
  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<Root>> roots_;    // oldest first
  std::vector<std::unique_ptr<Root>> retired_;  // dropped, their watches not yet destroyed
  std::uint64_t nextRoot_ = 1;
  std::size_t entries_ = 0;
  std::size_t bytes_ = 0;
  std::size_t nameBytes_ = 0;
  std::uint64_t reports_ = 0;
  bool closed_ = false;
  std::condition_variable retiredSignal_;
  bool reaperStopping_ = false;
  std::thread reaper_;  // last: started once everything it uses is made
};

}  // namespace tarnwell
