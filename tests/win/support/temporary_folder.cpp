#include "temporary_folder.h"

#include <windows.h>

#include <atomic>

#include "platform/text/gb18030_wide_win.h"

namespace tarnwell::testing_support {
void RemoveTree(const std::wstring& longPath) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((longPath + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring child = longPath + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        DeleteFileW(child.c_str());
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryW(longPath.c_str());
}

TemporaryFolder::TemporaryFolder(std::string_view name) {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH + 1];
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  std::wstring base(temp, length);
  if (!base.empty() && base.back() == L'\\') base.pop_back();
  std::wstring full = base + L"\\" + Gb18030ToWide(name) + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                      std::to_wstring(counter++);
  RemoveTree(L"\\\\?\\" + full);  // left over from a run that crashed
  CreateDirectoryW(full.c_str(), nullptr);
  path_ = WideToGb18030(full);
}

TemporaryFolder::~TemporaryFolder() { RemoveTree(LongForm(path_)); }

Text TemporaryFolder::operator/(std::string_view name) const { return Concat(path_, "\\", name); }

std::wstring LongForm(std::string_view gbkPath) { return L"\\\\?\\" + Gb18030ToWide(gbkPath); }

bool Exists(std::string_view gbkPath) {
  return GetFileAttributesW(LongForm(gbkPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(std::string_view gbkPath) {
  DWORD attributes = GetFileAttributesW(LongForm(gbkPath).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FileBytes(std::string_view gbkPath) {
  HANDLE file = CreateFileW(LongForm(gbkPath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "(unreadable)";
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

void PutFile(std::string_view gbkPath, std::string_view bytes) {
  HANDLE file = CreateFileW(LongForm(gbkPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void MakeFolder(std::string_view gbkPath) { CreateDirectoryW(LongForm(gbkPath).c_str(), nullptr); }

TextList FolderNames(std::string_view gbkPath) {
  TextList names;
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((LongForm(gbkPath) + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(WideToGb18030(name));
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return names;
}

HeldFile::HeldFile(const Text& path)
    : file_(CreateFileW(LongForm(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}

void HeldFile::Release() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

}  // namespace tarnwell::testing_support
