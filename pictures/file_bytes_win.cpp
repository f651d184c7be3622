#include "pictures/file_bytes.h"

#include <windows.h>

#include "platform/base/unique_handle_win.h"
#include "platform/files/long_path_win.h"

namespace tarnwell {

struct PositionedFile::System {
  UniqueFile file;
};

PositionedFile::PositionedFile(std::string_view path) : system_(std::make_unique<System>()) {
  system_->file.reset(CreateFileW(Win32PathOf(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (system_->file && GetFileSizeEx(system_->file.get(), &size)) {
    size_ = static_cast<std::uint64_t>(size.QuadPart);
  } else {
    system_->file.reset();
  }
}

PositionedFile::~PositionedFile() = default;

bool PositionedFile::Opened() const { return static_cast<bool>(system_->file); }

bool PositionedFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) const {
  while (!into.empty()) {
    // A synchronous handle reads at the offset an OVERLAPPED names.
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(into.size(), 1u << 30));
    DWORD read = 0;
    if (!ReadFile(system_->file.get(), into.data(), want, &read, &at) || read == 0) return false;
    into = into.subspan(read);
    offset += read;
  }
  return true;
}

}  // namespace tarnwell
