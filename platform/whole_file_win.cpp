#include "platform/whole_file.h"

#include <windows.h>

#include <algorithm>

#include "platform/long_path_win.h"
#include "platform/temporary_name.h"
#include "platform/unique_handle_win.h"

namespace tarnwell {
namespace {

// WriteFile and ReadFile take at most a DWORD per call.
constexpr std::size_t kChunk = 1 << 30;

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD part = static_cast<DWORD>(std::min(bytes.size(), kChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), part, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

WholeFile ReadWholeFile(std::string_view path, std::size_t maxBytes) {
  UniqueFile file(CreateFileW(Win32PathOf(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    DWORD error = GetLastError();
    bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? ReadStatus::Missing : ReadStatus::Failed, {}};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || static_cast<unsigned long long>(size.QuadPart) > maxBytes) return {};
  WholeFile whole{ReadStatus::Read, {}};
  whole.bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t filled = 0;
  while (filled < whole.bytes.size()) {
    DWORD part = static_cast<DWORD>(std::min(whole.bytes.size() - filled, kChunk));
    DWORD read = 0;
    if (!ReadFile(file.get(), whole.bytes.data() + filled, part, &read, nullptr)) return {};
    if (read == 0) break;  // the file shrank meanwhile
    filled += read;
  }
  whole.bytes.resize(filled);
  return whole;
}

bool ReplaceFileContents(std::string_view path, std::string_view bytes) {
  if (path.empty()) return false;
  std::wstring target = Win32PathOf(path);
  // Windows refuses to replace a read-only file by renaming; not every file system does, so ask first.
  DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  std::wstring temporary;
  UniqueFile file;
  for (int attempt = 0; attempt < 100 && !file; ++attempt) {
    temporary = Win32PathOf(Concat(path, TemporarySuffix()));
    file.reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (!file) return false;
  auto removeTemporary = MakeScopeExit([&] {
    file.reset();
    DeleteFileW(temporary.c_str());
  });
  if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) return false;
  file.reset();
  if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return false;
  }
  removeTemporary.Dismiss();
  return true;
}

}  // namespace tarnwell
