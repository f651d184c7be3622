// Which folders that are reparse points the walk enters. Links to elsewhere
// (junctions, symbolic links, mount points: the tags Windows marks as name
// surrogates) are never entered, so no walk loops or leaves its tree; folders
// whose data a storage filter keeps (cloud files such as OneDrive's files on
// demand, deduplication, tiered storage) are ordinary folders to the user
// and are walked. A tag this program does not know, or none at all (Wine
// reports a link to a folder with tag 0), counts as a link.
#pragma once

#include <cstdint>

namespace tarnwell {

// The reparse tags named here, as Windows defines them.
inline constexpr std::uint32_t kReparseTagMountPoint = 0xA0000003;  // junctions and mounted volumes
inline constexpr std::uint32_t kReparseTagSymlink = 0xA000000C;
inline constexpr std::uint32_t kReparseTagDedup = 0x80000013;
inline constexpr std::uint32_t kReparseTagCloud = 0x9000001A;  // and 0x9000101A to 0x9000F01A

// Whether the walk enters a folder with the reparse-point attribute and this tag.
bool EntersReparseFolder(std::uint32_t tag);

}  // namespace tarnwell
