// The Recycle Bin operation with the shell's part handed in, so that tests
// can stand in for a shell that deletes a file outright instead of
// recycling it.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/files/recycle_bin.h"

namespace tarnwell {

// Moves the files (full paths) to the Recycle Bin in one operation.
using ShellRecycle = std::function<void(const std::vector<std::wstring>& paths)>;

// RecycleFiles with `shell` in place of the shell's own delete operation.
std::vector<RecycleOutcome> RecycleFilesThrough(std::span<const Text> paths, const ShellRecycle& shell);

}  // namespace tarnwell
