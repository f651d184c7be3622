#include "platform/files/recycle_bin_win.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <map>
#include <mutex>
#include <set>

#include "platform/text/gb18030_wide_win.h"
#include "platform/text/gbk_literal.h"
#include "platform/files/long_path_win.h"
#include "platform/base/ole_scope_win.h"
#include "platform/files/temporary_name.h"
#include "platform/base/unique_handle_win.h"

namespace tarnwell {
namespace {

// Whether the path's volume has a Recycle Bin. A volume that has one is
// remembered for the process: the question lists the whole bin (under Wine
// it reads every entry), and the second name guards the rare bin that went
// away meanwhile. A volume without one is asked again next time.
bool VolumeHasRecycleBin(const std::wstring& path) {
  static std::mutex lock;
  static std::set<std::wstring> withBin;
  wchar_t volume[MAX_PATH + 1] = {};
  if (!GetVolumePathNameW(path.c_str(), volume, MAX_PATH + 1)) return false;
  {
    std::lock_guard<std::mutex> guard(lock);
    if (withBin.count(volume)) return true;
  }
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  if (FAILED(SHQueryRecycleBinW(volume, &info))) return false;
  std::lock_guard<std::mutex> guard(lock);
  withBin.insert(volume);
  return true;
}

// A second name of the file beside it, or the empty text when the volume
// cannot make one (FAT, some network shares).
std::wstring MakeSecondName(const std::wstring& path) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::wstring second = LongFormOf(path + Gb18030ToWide(TemporarySuffix()));
    if (CreateHardLinkW(second.c_str(), LongFormOf(path).c_str(), nullptr)) return second;
    DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
  }
  return {};
}

// How many names the file has; 0 when it cannot be opened.
DWORD NameCount(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || !GetFileInformationByHandle(file.get(), &info)) return 0;
  return info.nNumberOfLinks;
}

// The shell's delete into the Recycle Bin: no confirmation, no progress, no
// error box, and never the files or folders the shell would take along with a
// web page ("page.htm" and "page_files").
void ShellRecycleFiles(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const std::wstring& path : paths) {
    list += path;
    list.push_back(L'\0');
  }
  list.push_back(L'\0');  // the list ends with an empty name
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI | FOF_NO_CONNECTED_ELEMENTS;
  OleOnThisThread ole;
  SHFileOperationW(&operation);
}

struct Candidate {
  std::size_t index;  // into the caller's paths
  std::wstring path;  // full path, shorter than the shell's limit
  std::wstring second;
};

Failure Stays(const Text& path, std::uint32_t code) { return FailureOf("放入回收站"_gbk, path, code); }
Failure Stays(const Text& path, const Text& why) { return Failure{"放入回收站"_gbk, path, 0, why}; }

// Why the file may not go to the shell: nothing when it may. Fills in its
// full path.
std::optional<Failure> Ineligible(const Text& path, std::wstring& full) {
  full = Win32PathOf(path);
  if (full.empty()) return Stays(path, ERROR_INVALID_NAME);
  // A long path gets the "\\?\" form, which the shell's operation does not take;
  // "*" and "?" would make it act on every file that matches them.
  if (full.rfind(L"\\\\?\\", 0) == 0) return Stays(path, "路径超过260个字符，回收站不接收"_gbk);
  if (full.find_first_of(L"*?") != std::wstring::npos) return Stays(path, "路径含有 * 或 ?"_gbk);
  DWORD attributes = GetFileAttributesW(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Stays(path, GetLastError());
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Stays(path, "是文件夹"_gbk);
  // A read-only file is no more recycled than it is deleted outright.
  if (attributes & FILE_ATTRIBUTE_READONLY) return Stays(path, "是只读文件"_gbk);
  // A file another program holds open without letting it be deleted can be
  // neither moved into the bin nor rid of its second name afterwards.
  if (!UniqueFile(CreateFileW(full.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr))) {
    return Stays(path, GetLastError());
  }
  if (!VolumeHasRecycleBin(full)) return Stays(path, "所在驱动器没有回收站"_gbk);
  return std::nullopt;
}

}  // namespace

std::vector<RecycleOutcome> RecycleFilesThrough(std::span<const Text> paths, const ShellRecycle& shell) {
  std::vector<RecycleOutcome> outcomes(paths.size());
  std::vector<Candidate> candidates;
  std::map<std::wstring, std::size_t> firstOfPath;  // a path named twice goes to the shell once
  std::vector<std::pair<std::size_t, std::size_t>> repeats;  // (index, index of its first)
  for (std::size_t i = 0; i < paths.size(); ++i) {
    std::wstring full;
    if (std::optional<Failure> why = Ineligible(paths[i], full)) {
      // A path with no file is gone already; anything else stays as it is.
      const bool gone = !full.empty() && full.find_first_of(L"*?") == std::wstring::npos && NothingAt(full);
      if (!gone) outcomes[i] = std::move(why);
      continue;
    }
    std::wstring key = FoldedCaseOf(full);
    auto [first, added] = firstOfPath.try_emplace(key.empty() ? full : std::move(key), i);
    if (!added) {
      repeats.emplace_back(i, first->second);
      continue;
    }
    std::wstring second = MakeSecondName(full);
    if (second.empty()) {  // no safety net: the file stays
      outcomes[i] = Stays(paths[i], "所在驱动器不能为文件建立第二个名称，无法安全放入回收站"_gbk);
      continue;
    }
    candidates.push_back({i, std::move(full), std::move(second)});
  }
  if (!candidates.empty()) {
    std::vector<std::wstring> batch;
    for (const Candidate& candidate : candidates) batch.push_back(candidate.path);
    shell(batch);
    // The shell may stop at the first file it cannot move: the others go one by one.
    if (candidates.size() > 1) {
      for (const Candidate& candidate : candidates) {
        if (!NothingAt(candidate.path)) shell({candidate.path});
      }
    }
  }
  for (const Candidate& candidate : candidates) {
    const Text& path = paths[candidate.index];
    if (!NothingAt(candidate.path)) {
      DeleteFileW(candidate.second.c_str());  // not recycled: only the second name goes
      outcomes[candidate.index] = Stays(path, "系统未能将其放入回收站"_gbk);
      continue;
    }
    if (NameCount(candidate.second) >= 2) {
      DeleteFileW(candidate.second.c_str());  // the bin holds the file under a name of its own
      continue;
    }
    // The shell deleted the file outright: it comes back under its own name.
    MoveFileExW(candidate.second.c_str(), LongFormOf(candidate.path).c_str(), 0);
    if (!NothingAt(candidate.path)) outcomes[candidate.index] = Stays(path, "回收站不能接收此文件（如文件过大），文件已放回原处"_gbk);
  }
  for (const auto& [index, first] : repeats) outcomes[index] = outcomes[first];
  return outcomes;
}

std::vector<RecycleOutcome> RecycleFiles(std::span<const Text> paths) { return RecycleFilesThrough(paths, ShellRecycleFiles); }

}  // namespace tarnwell
