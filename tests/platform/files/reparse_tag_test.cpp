// Which reparse-point folders the walk enters: never a link to elsewhere,
// always a folder whose content a storage filter keeps, never a tag the
// program does not know.
#include "platform/files/reparse_tag.h"

#include <gtest/gtest.h>

namespace tarnwell {
namespace {

TEST(EntersReparseFolder, LinksAndUnknownTagsAreNotEnteredStorageFoldersAre) {
  // Name surrogates: junctions and mounted volumes, symbolic links, WSL's
  // links, container links, and one with the bit set on a storage tag.
  for (std::uint32_t tag : {kReparseTagMountPoint, kReparseTagSymlink, 0xA000001Du, 0xA0000027u, 0xA0000019u,
                            kReparseTagCloud | 0x20000000u}) {
    EXPECT_FALSE(EntersReparseFolder(tag)) << std::hex << tag;
  }
  // No tag (Wine's links to folders), unknown tags, and tags of Microsoft's
  // that lead elsewhere without the bit (DFS links, NFS, Unix sockets).
  for (std::uint32_t tag : {0u, 1u, 0x12345678u, 0x8000FFFFu, 0x8000000Au, 0x80000014u, 0x80000023u}) {
    EXPECT_FALSE(EntersReparseFolder(tag)) << std::hex << tag;
  }
  // Cloud files in all sixteen flavours (OneDrive's files on demand),
  // deduplication, OneDrive, Azure File Sync, HSM, projected file system.
  for (std::uint32_t flavour = 0; flavour < 16; ++flavour) {
    EXPECT_TRUE(EntersReparseFolder(kReparseTagCloud | (flavour << 12))) << flavour;
  }
  for (std::uint32_t tag : {kReparseTagDedup, 0x80000021u, 0x8000001Eu, 0xC0000004u, 0x9000001Cu}) {
    EXPECT_TRUE(EntersReparseFolder(tag)) << std::hex << tag;
  }
  // Nearly a cloud tag: other bits than the flavour differ.
  EXPECT_FALSE(EntersReparseFolder(kReparseTagCloud | 0x10000u));
  EXPECT_FALSE(EntersReparseFolder(kReparseTagCloud & ~0x10000000u));
}

}  // namespace
}  // namespace tarnwell
