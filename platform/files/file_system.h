// Files and drives: the program's folder, the drive list, copying, moving,
// deleting and writing whole files. Paths are the program's texts with "\" as
// separator; paths longer than 260 characters work as well. Nothing here
// shows a message: each operation reports success or failure.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/files/copy_watch.h"
#include "platform/files/file_identity.h"
#include "platform/text/text.h"

namespace tarnwell {

// The folder that holds the running program, without a trailing "\".
Text ProgramDirectory();

// The one kind the program asks for: a whole-computer search walks the
// fixed disks (never removable, optical, network or RAM drives).
enum class DriveKind {
  Fixed = 1,
};

// The drive roots of that kind from A to Z, each as letter and colon ("C:").
TextList ListDrives(DriveKind kind);

// What a copy or a move does with a file already at its destination.
enum class ExistingFile {
  Replace,  // replaced (unless it is read-only)
  Keep,     // kept: the operation fails with the system's "file exists"
            // (ERROR_FILE_EXISTS or ERROR_ALREADY_EXISTS), also when the file
            // appeared after the caller looked, and never overwrites it
};

// How a copy goes about its work, beyond what it does with a file at the
// destination.
struct CopyOptions {
  ExistingFile existing = ExistingFile::Replace;
  // The copy is read back before it takes the destination's name, past the
  // system's cache (from the disk), and compared with the source byte for
  // byte; a copy that differs is removed and the call fails with
  // kCopyDiffers.
  bool verify = false;
  // Told of the bytes as they go, and asked between pieces whether to stop.
  CopyWatch* watch = nullptr;
};

// The error a verified copy fails with when what it reads back differs from
// the source: a code of the program's own (the system's codes never set bit 29).
constexpr std::uint32_t kCopyDiffers = 0x20000000u | 0x7461;

// Copies source to destination. The copy goes to a temporary file that is
// renamed to the destination (over it only with Replace), so a copy that
// fails (a full disk) or is stopped leaves the destination as it was and no
// part of the file behind. The bytes go through in pieces of 1 MB, with the
// source's last write time, attributes and named streams. False when both
// paths name one file.
bool CopyOneFile(std::string_view source, std::string_view destination,
                 ExistingFile existing = ExistingFile::Replace);
bool CopyOneFile(std::string_view source, std::string_view destination, const CopyOptions& options);

// Renames source to destination; when that fails because it lies on another
// volume (or, with Replace, because the destination exists), copies source
// to destination as CopyOneFile does and deletes source. True once the
// destination holds the file, even when source could not be deleted then;
// when both paths name one file (a share of the local disk) nothing is
// touched. Like the copy, it leaves a read-only destination alone.
bool MoveOneFile(std::string_view source, std::string_view destination,
                 ExistingFile existing = ExistingFile::Replace);
// The same; a move that has to copy copies with `options`, and one stopped
// while copying leaves its source whole where it was.
bool MoveOneFile(std::string_view source, std::string_view destination, const CopyOptions& options);

// Deletes the file outright, not into the recycle bin; false when it is
// missing, read-only or open elsewhere.
bool DeleteOneFile(std::string_view path);

// Every operation above that gives false leaves the system's reason as the
// thread's last error (a read-only destination: access denied; both paths
// one file: the file exists), for the caller to tell the user.

// True only when the path surely names nothing, neither file nor folder:
// a path that cannot be looked at (no rights) counts as taken.
bool NothingAt(std::string_view path);

// Creates the folder and every folder above it that is missing. True when
// the folder is there afterwards; otherwise the last error says why.
bool CreateFolders(std::string_view folder);

// Appends the bytes to the file, creating it when missing; `header` goes
// first when the file is new or empty. One write, so a line is either all
// there or not at all; other programs may read the file meanwhile. False
// when the file cannot be opened or written.
bool AppendToFile(std::string_view path, std::string_view header, std::string_view bytes);

// Nothing when the file cannot be opened (missing, no rights) or has no id
// and no path the system can name.
std::optional<FileIdentity> IdentifyFile(std::string_view path);

}  // namespace tarnwell
