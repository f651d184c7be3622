#include "platform/files/file_system.h"

#include <windows.h>

#include <cstring>

#include "platform/text/gb18030_wide_win.h"
#include "platform/files/appending_file_win.h"
#include "platform/files/file_contents_copy_win.h"
#include "platform/files/file_identity_win.h"
#include "platform/files/long_path_win.h"
#include "platform/files/program_file_win.h"
#include "platform/base/system_error_win.h"
#include "platform/base/unique_handle_win.h"
#include "platform/files/whole_file_win.h"

namespace tarnwell {
namespace {

// The file's normalised full path in one case, for volumes that give no file
// id: the final path the handle leads to (links and short names resolved),
// else the full path; the "\\?\" prefix goes, so both forms compare equal.
std::wstring FoldedPathOf(HANDLE file, const std::wstring& path) {
  std::wstring full(32768, L'\0');
  DWORD length = GetFinalPathNameByHandleW(file, full.data(), static_cast<DWORD>(full.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= full.size()) {
    length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return {};
  }
  full.resize(length);
  return FoldedCaseOf(PlainPathOf(std::move(full)));
}

std::optional<FileIdentity> IdentifyWide(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return std::nullopt;
  return IdentifyOpenFile(file.get(), path);
}

}  // namespace

std::optional<FileIdentity> IdentifyOpenFile(HANDLE file, const std::wstring& path) {
  // The 128-bit id with its volume's serial first: where the volume gives it,
  // that is the whole identity, and each of these calls reads the volume's
  // serial, which costs more than the rest (under Wine, most of a small
  // file's copy).
  FILE_ID_INFO idInfo{};
  if (GetFileInformationByHandleEx(file, FileIdInfo, &idInfo, sizeof idInfo)) {
    FileId id128;
    static_assert(sizeof idInfo.FileId.Identifier == sizeof(FileId));
    std::memcpy(id128.data(), idInfo.FileId.Identifier, id128.size());
    if (auto identity = MakeFileIdentity(idInfo.VolumeSerialNumber, id128, 0, [] { return std::wstring(); })) {
      return identity;
    }
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return std::nullopt;
  return MakeFileIdentity(info.dwVolumeSerialNumber, std::nullopt,
                          (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow,
                          [&] { return FoldedPathOf(file, path); });
}

namespace {

// Whether the two paths name one file, as a share of the local disk and the
// disk itself do. There the rename fails on an existing destination, the copy
// would replace the file by itself and the move would then delete it.
// The destination is looked at first: mostly there is none, and then the
// source's identity, which costs more, is not needed.
bool SameFile(const std::wstring& a, const std::wstring& b) {
  auto second = IdentifyWide(b);
  return second && second == IdentifyWide(a);
}

// A file at the destination that a Keep copy or move must not touch.
bool TakenAndKept(const std::wstring& destination, ExistingFile existing) {
  if (existing != ExistingFile::Keep || NothingAt(destination)) return false;
  SetLastError(ERROR_FILE_EXISTS);
  return true;
}

// Attributes a copy takes from its source once it has its final name, as
// the system's copy gives them.
constexpr DWORD kAttributesTaken =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Copies source beside destination under a temporary name and renames that
// to destination, over it only with Replace, so a copy that fails or stops
// half-way leaves destination as it was.
bool CopyOver(std::string_view source, std::string_view destination, const CopyOptions& options) {
  // A file there now fails a Keep copy before the copying; one that comes
  // during it fails the rename.
  if (TakenAndKept(Win32PathOf(destination), options.existing)) return false;
  if (IsReadOnlyFile(Win32PathOf(destination))) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  std::wstring from = Win32PathOf(source);
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  bool replaced = ReplaceThroughTemporary(destination, [&](const std::wstring& temporary) {
    // The copy is made writable: a read-only one could not be renamed over another file.
    return CopyFileContents(from, temporary, options, attributes);
  }, options.existing == ExistingFile::Replace);
  if (replaced && attributes != INVALID_FILE_ATTRIBUTES && (attributes & kAttributesTaken)) {
    SetFileAttributesW(Win32PathOf(destination).c_str(), (attributes & kAttributesTaken) | FILE_ATTRIBUTE_ARCHIVE);
  }
  return replaced;
}

}  // namespace

std::optional<FileIdentity> IdentifyFile(std::string_view path) { return IdentifyWide(Win32PathOf(path)); }

Text ProgramDirectory() {
  std::wstring module = ProgramFilePath();
  if (module.empty()) return {};
  Text path = WideToGb18030(module);
  // The last "\" that is a character of its own, never the trail byte of a Chinese one.
  int slash = FindLastText(path, "\\", false);
  return slash > 0 ? LeftText(path, slash - 1) : path;
}

TextList ListDrives(DriveKind kind) {
  TextList roots;
  DWORD present = GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if (!(present & (1u << letter))) continue;
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + letter), L':', L'\\', L'\0'};
    UINT type = GetDriveTypeW(root);
    const bool wanted = kind == DriveKind::Fixed && type == DRIVE_FIXED;
    if (wanted) roots.push_back(Text{static_cast<char>('A' + letter), ':'});
  }
  return roots;
}

bool CopyOneFile(std::string_view source, std::string_view destination, ExistingFile existing) {
  CopyOptions options;
  options.existing = existing;
  return CopyOneFile(source, destination, options);
}

bool CopyOneFile(std::string_view source, std::string_view destination, const CopyOptions& options) {
  std::wstring from = Win32PathOf(source);
  std::wstring to = Win32PathOf(destination);
  if (from.empty() || to.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  if (SameFile(from, to)) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  // Not straight onto the destination: a copy that fails part-way would
  // leave it cut short, and an older file of that name would be lost.
  return CopyOver(source, destination, options);
}

bool MoveOneFile(std::string_view source, std::string_view destination, ExistingFile existing) {
  CopyOptions options;
  options.existing = existing;
  return MoveOneFile(source, destination, options);
}

bool MoveOneFile(std::string_view source, std::string_view destination, const CopyOptions& options) {
  std::wstring from = Win32PathOf(source);
  std::wstring to = Win32PathOf(destination);
  if (from.empty() || to.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  // A rename only: across volumes the system's move copies straight onto the
  // destination and leaves a part of the file there when the copy fails.
  if (MoveFileExW(from.c_str(), to.c_str(), 0)) return true;
  const DWORD renameError = GetLastError();
  if (SameFile(from, to)) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  if (options.existing == ExistingFile::Keep &&
      (renameError == ERROR_ALREADY_EXISTS || renameError == ERROR_FILE_EXISTS)) {
    SetLastError(renameError);
    return false;
  }
  // The source goes only once its copy is whole under the destination's name.
  if (!CopyOver(source, destination, options)) return false;
  DeleteFileW(from.c_str());
  return true;
}

bool DeleteOneFile(std::string_view path) {
  std::wstring wide = Win32PathOf(path);
  if (wide.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  return DeleteFileW(wide.c_str()) != FALSE;
}

bool NothingAt(std::string_view path) {
  std::wstring wide = Win32PathOf(path);
  return !wide.empty() && NothingAt(wide);
}

bool CreateFolders(std::string_view folder) {
  std::wstring wide = Win32PathOf(folder);
  if (wide.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return false;
  }
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return true;
    SetLastError(ERROR_ALREADY_EXISTS);  // a file holds the folder's name
    return false;
  }
  // The folder above first; a drive root or a share has none to make.
  const int slash = FindLastText(folder, "\\", false);
  if (slash > 1) {
    const Text above = LeftText(folder, slash - 1);
    if (!above.empty() && above.back() != ':' && !CreateFolders(above)) return false;
  }
  if (CreateDirectoryW(wide.c_str(), nullptr)) return true;
  // Made meanwhile by someone else is as good.
  LastErrorKept reason;
  const DWORD now = GetFileAttributesW(wide.c_str());
  return now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_DIRECTORY);
}

bool AppendToFile(std::string_view path, std::string_view header, std::string_view bytes) {
  AppendingFile file(path);
  return file.Append(header, bytes) && file.Close();
}

}  // namespace tarnwell
