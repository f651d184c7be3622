// The copy of one file's contents into a new file, the program's own loop
// rather than the system's CopyFileEx: the bytes go in pieces, so that the
// caller is told of every piece and can stop the copy between any two of
// them, on every system the program runs on; and a verified copy is read
// back past the system's cache before anyone may take it for whole.
#pragma once

#include <windows.h>

#include <string>

#include "platform/files/file_system.h"
#include "platform/files/temporary_name.h"

namespace tarnwell {

// Creates `to` (it must not exist) and fills it with the bytes of `from`,
// its last write time and its named streams. `attributes` gets the source's
// attributes, for the caller to give the copy once it has its final name
// (a read-only copy could not be renamed over another file).
// NameTaken: a file has the name `to`. Failed: the thread's last error says
// why (ERROR_REQUEST_ABORTED when the watch wanted it stopped, kCopyDiffers
// when the read-back differs), and nothing of `to` is left.
TemporaryCreation CopyFileContents(const std::wstring& from, const std::wstring& to, const CopyOptions& options,
                                   DWORD& attributes);

}  // namespace tarnwell
