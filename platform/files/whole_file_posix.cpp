#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/files/posix_path.h"
#include "platform/files/temporary_name.h"
#include "platform/files/whole_file.h"

namespace tarnwell {
namespace {

// Closes the descriptor when the scope ends.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Close(); }
  int get() const { return fd_; }
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return fd < 0 || close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

WholeFile ReadWholeFile(std::string_view path, std::size_t maxBytes) {
  auto failed = [](int error) { return WholeFile{ReadStatus::Failed, {}, static_cast<std::uint32_t>(error)}; };
  Descriptor file(open(PosixPathOf(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    const int error = errno;
    bool missing = error == ENOENT || error == ENOTDIR;
    return {missing ? ReadStatus::Missing : ReadStatus::Failed, {}, static_cast<std::uint32_t>(error)};
  }
  struct stat info {};
  if (fstat(file.get(), &info) != 0) return failed(errno);
  if (!S_ISREG(info.st_mode)) return failed(EISDIR);
  if (static_cast<unsigned long long>(info.st_size) > maxBytes) return failed(EFBIG);
  WholeFile whole{ReadStatus::Read, {}, 0};
  char buffer[65536];
  for (;;) {
    ssize_t got = read(file.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return failed(errno);
    if (got == 0) break;
    whole.bytes.append(buffer, static_cast<std::size_t>(got));
    if (whole.bytes.size() > maxBytes) return failed(EFBIG);  // it grew meanwhile
  }
  return whole;
}

bool ReplaceFileContents(std::string_view path, std::string_view bytes) {
  if (path.empty()) return false;
  Text temporary = CreateTemporaryBeside(path, [&](const Text& name) {
    std::string native = PosixPathOf(name);
    int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno == EEXIST ? TemporaryCreation::NameTaken : TemporaryCreation::Failed;
    Descriptor file(fd);
    bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
    if (file.Close() && written) return TemporaryCreation::Created;
    unlink(native.c_str());
    return TemporaryCreation::Failed;
  });
  if (temporary.empty()) return false;
  if (rename(PosixPathOf(temporary).c_str(), PosixPathOf(path).c_str()) != 0) {
    unlink(PosixPathOf(temporary).c_str());
    return false;
  }
  return true;
}

}  // namespace tarnwell
