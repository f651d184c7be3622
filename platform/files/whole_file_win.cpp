#include "platform/files/whole_file.h"
#include "platform/files/whole_file_win.h"

#include <windows.h>

#include <algorithm>

#include "platform/files/long_path_win.h"
#include "platform/base/system_error_win.h"
#include "platform/files/temporary_name.h"
#include "platform/base/unique_handle_win.h"

namespace tarnwell {
namespace {

// WriteFile and ReadFile take at most a DWORD per call.
constexpr std::size_t kChunk = 1 << 30;

}  // namespace

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD part = static_cast<DWORD>(std::min(bytes.size(), kChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), part, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool IsReadOnlyFile(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
         !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsReadOnlyFile(const std::wstring& path) { return IsReadOnlyFile(GetFileAttributesW(path.c_str())); }

bool ReplaceThroughTemporary(std::string_view path,
                             const std::function<TemporaryCreation(const std::wstring&)>& create, bool replace) {
  std::wstring temporary;
  Text made = CreateTemporaryBeside(path, [&](const Text& name) {
    temporary = Win32PathOf(name);
    return create(temporary);
  });
  if (made.empty()) return false;
  const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
  if (MoveFileExW(temporary.c_str(), Win32PathOf(path).c_str(), flags)) {
    return true;
  }
  LastErrorKept reason;  // the rename's, not the clean-up's
  DeleteFileW(temporary.c_str());
  return false;
}

WholeFile ReadWholeFile(std::string_view path, std::size_t maxBytes) {
  auto failed = [](DWORD error) { return WholeFile{ReadStatus::Failed, {}, error}; };
  UniqueFile file(CreateFileW(Win32PathOf(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    DWORD error = GetLastError();
    bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? ReadStatus::Missing : ReadStatus::Failed, {}, error};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return failed(GetLastError());
  if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return failed(ERROR_FILE_TOO_LARGE);
  WholeFile whole{ReadStatus::Read, {}, 0};
  whole.bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t filled = 0;
  while (filled < whole.bytes.size()) {
    DWORD part = static_cast<DWORD>(std::min(whole.bytes.size() - filled, kChunk));
    DWORD read = 0;
    if (!ReadFile(file.get(), whole.bytes.data() + filled, part, &read, nullptr)) return failed(GetLastError());
    if (read == 0) break;  // the file shrank meanwhile
    filled += read;
  }
  whole.bytes.resize(filled);
  return whole;
}

bool WriteWholeFile(std::string_view path, ByteArray bytes) {
  if (path.empty()) return false;
  UniqueFile file(CreateFileW(Win32PathOf(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  if (!WriteAll(file.get(), {reinterpret_cast<const char*>(bytes.data()), bytes.size()})) return false;
  return CloseHandle(file.release()) != 0;
}

bool ReplaceFileContents(std::string_view path, std::string_view bytes) {
  if (path.empty() || IsReadOnlyFile(Win32PathOf(path))) return false;
  return ReplaceThroughTemporary(path, [&](const std::wstring& temporary) {
    UniqueFile file(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError() == ERROR_FILE_EXISTS ? TemporaryCreation::NameTaken : TemporaryCreation::Failed;
    bool written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
    file.reset();
    if (written) return TemporaryCreation::Created;
    DeleteFileW(temporary.c_str());
    return TemporaryCreation::Failed;
  });
}

}  // namespace tarnwell
