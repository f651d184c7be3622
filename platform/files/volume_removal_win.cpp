#include "platform/files/volume_removal_win.h"

#include <dbt.h>

#include <atomic>
#include <string>

namespace tarnwell {
namespace {

std::atomic<HWND> removalWindow{nullptr};

// "E:" for a handle open on drive E; empty when the system cannot say.
Text DriveOfHandle(HANDLE handle) {
  std::wstring path(MAX_PATH + 8, L'\0');
  const DWORD length = GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
  if (length == 0 || length >= path.size()) return Text();
  path.resize(length);
  if (path.rfind(L"\\\\?\\", 0) == 0) path.erase(0, 4);
  if (path.size() < 2 || path[1] != L':') return Text();
  const wchar_t letter = path[0];
  if (!((letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z'))) return Text();
  return Text{static_cast<char>(letter), ':'};
}

}  // namespace

void NotifyVolumeRemovalTo(HWND window) { removalWindow.store(window); }

HWND VolumeRemovalWindow() { return removalWindow.load(); }

TextList DrivesGoing(WPARAM event, LPARAM data) {
  TextList drives;
  if (event != DBT_DEVICEQUERYREMOVE && event != DBT_DEVICEREMOVEPENDING && event != DBT_DEVICEREMOVECOMPLETE) {
    return drives;
  }
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (header == nullptr) return drives;
  if (header->dbch_devicetype == DBT_DEVTYP_HANDLE) {
    const auto* handle = reinterpret_cast<const DEV_BROADCAST_HANDLE*>(data);
    if (Text drive = DriveOfHandle(handle->dbch_handle); !drive.empty()) drives.push_back(drive);
  } else if (header->dbch_devicetype == DBT_DEVTYP_VOLUME) {
    const auto* volume = reinterpret_cast<const DEV_BROADCAST_VOLUME*>(data);
    for (int letter = 0; letter < 26; ++letter) {
      if (volume->dbcv_unitmask & (1u << letter)) drives.push_back(Text{static_cast<char>('A' + letter), ':'});
    }
  }
  return drives;
}

}  // namespace tarnwell
