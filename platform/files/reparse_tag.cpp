#include "platform/files/reparse_tag.h"

namespace tarnwell {
namespace {

// Windows sets this bit in the tag of every reparse point that names another
// place: those are the folders a walk must not follow.
constexpr std::uint32_t kNameSurrogateBit = 0x20000000;

// The cloud files tags differ only in the four bits 12-15.
constexpr std::uint32_t kCloudTagMask = 0xFFFF0FFF;

// Microsoft's tags of storage filters that keep a folder's content in place
// (or fetch it on demand): the folder holds what it seems to hold.
constexpr std::uint32_t kStorageTags[] = {
    0xC0000004,        // hierarchical storage management (HSM)
    0x80000006,        // HSM2
    0x80000007,        // single-instance storage
    0x80000012,        // DFS replication
    kReparseTagDedup,  // data deduplication
    0x80000015,        // file placeholders (OneDrive on Windows 8.1)
    0x80000017,        // Windows overlay filter (compressed system files)
    0x9000001C,        // projected file system
    0x8000001E,        // Azure File Sync
    0x80000021,        // OneDrive
};

}  // namespace

bool EntersReparseFolder(std::uint32_t tag) {
  if (tag & kNameSurrogateBit) return false;
  if ((tag & kCloudTagMask) == kReparseTagCloud) return true;
  for (std::uint32_t storage : kStorageTags) {
    if (tag == storage) return true;
  }
  return false;
}

}  // namespace tarnwell
