// The Win32 pieces that every operation writing whole files shares: the
// write loop, the read-only check, and replacing a file through a temporary
// file beside it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "platform/files/temporary_name.h"

namespace tarnwell {

// Writes every byte, in pieces WriteFile takes (at most a DWORD each).
bool WriteAll(HANDLE file, std::string_view bytes);

// Whether these attributes, or those of the file at this path ("\\?\" form
// or plain), are a read-only file's (a read-only folder does not count).
// Windows refuses to replace or rename over such a file; Wine does not, so
// the program asks first and behaves the same on both.
bool IsReadOnlyFile(DWORD attributes);
bool IsReadOnlyFile(const std::wstring& path);

// Makes a new file beside `path` under a free temporary name with `create`
// (given the name's Win32 form) and renames it to `path`, so that path holds
// its old content or the new one, never a part. With `replace` false the
// rename never goes over a file at `path` (it fails with the system's "file
// exists"). On failure path is untouched and no temporary file remains.
bool ReplaceThroughTemporary(std::string_view path,
                             const std::function<TemporaryCreation(const std::wstring&)>& create,
                             bool replace = true);

}  // namespace tarnwell
