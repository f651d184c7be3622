// The identity of a file or folder already open, for what holds a handle
// (a folder watch) and must later tell whether a path still leads to it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/files/file_identity.h"

namespace tarnwell {

// `path` (the Win32 form it was opened by) decides only where the volume
// gives no file id. Nothing when the system cannot say.
std::optional<FileIdentity> IdentifyOpenFile(HANDLE file, const std::wstring& path);

}  // namespace tarnwell
