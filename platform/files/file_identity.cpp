#include "platform/files/file_identity.h"

#include <algorithm>

namespace tarnwell {

std::optional<FileIdentity> MakeFileIdentity(std::uint64_t volume, const std::optional<FileId>& id128,
                                             std::uint64_t index64, const std::function<std::wstring()>& foldedPath) {
  const auto isZero = [](const FileId& id) { return std::all_of(id.begin(), id.end(), [](auto b) { return b == 0; }); };
  FileIdentity identity{volume, {}, {}};
  if (id128 && !isZero(*id128)) {
    identity.id = *id128;
    return identity;
  }
  if (index64 != 0) {
    // Widened as the volume widens it: the index in the low eight bytes, least significant first.
    for (std::size_t i = 0; i < 8; ++i) identity.id[i] = static_cast<std::uint8_t>(index64 >> (8 * i));
    return identity;
  }
  identity.path = foldedPath();
  if (identity.path.empty()) return std::nullopt;
  return identity;
}

}  // namespace tarnwell
