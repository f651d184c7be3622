#include "pictures/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files/posix_path.h"

namespace tarnwell {

struct PositionedFile::System {
  int descriptor = -1;
};

PositionedFile::PositionedFile(std::string_view path) : system_(std::make_unique<System>()) {
  system_->descriptor = open(PosixPathOf(path).c_str(), O_RDONLY | O_CLOEXEC);
  struct stat facts {};
  if (system_->descriptor >= 0 && fstat(system_->descriptor, &facts) == 0 && S_ISREG(facts.st_mode)) {
    size_ = static_cast<std::uint64_t>(facts.st_size);
  } else if (system_->descriptor >= 0) {
    close(system_->descriptor);
    system_->descriptor = -1;
  }
}

PositionedFile::~PositionedFile() {
  if (system_->descriptor >= 0) close(system_->descriptor);
}

bool PositionedFile::Opened() const { return system_->descriptor >= 0; }

bool PositionedFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) const {
  while (!into.empty()) {
    const ssize_t read = pread(system_->descriptor, into.data(), into.size(), static_cast<off_t>(offset));
    if (read <= 0) return false;
    into = into.subspan(static_cast<std::size_t>(read));
    offset += static_cast<std::uint64_t>(read);
  }
  return true;
}

}  // namespace tarnwell
