// Identifies one file whatever path spells it, so that a copy or a move can
// tell "onto itself" from "onto another file". The file's id on its volume
// decides where the volume gives one; a volume that gives none (some network
// shares report 0) leaves the file's normalised full path to decide: a zero
// id never makes two files one.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tarnwell {

// A 128-bit file id as the volume reports it, byte for byte.
using FileId = std::array<std::uint8_t, 16>;

struct FileIdentity {
  std::uint64_t volume = 0;  // the volume's serial number
  FileId id{};               // the file's id on that volume; all zero when the volume gave none
  std::wstring path;         // without an id: the normalised full path, in one case; else empty

  auto operator<=>(const FileIdentity&) const = default;
};

// The identity from what the file system reports: the 128-bit id where the
// volume gives one that is not zero (on ReFS the 64-bit index is not unique),
// else the 64-bit file index where that is not zero, else the path that
// `foldedPath` gives (called only then; empty when unknown, and then there is
// no identity).
std::optional<FileIdentity> MakeFileIdentity(std::uint64_t volume, const std::optional<FileId>& id128,
                                             std::uint64_t index64, const std::function<std::wstring()>& foldedPath);

}  // namespace tarnwell
